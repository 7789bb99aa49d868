// The game's world on the null render device, built the same way for every test that needs one:
// a folder as the working directory (the game folder, or an empty one the test fills), the null device
// with its default states, the game's three effects, scripted input, questions the test answers,
// the game's default options, and the process's services (silent sound, empty caches, the overlay
// off), made when a test first asks for them. Torn down in the reverse order, back in the folder
// the test started in.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/null/null_render_device.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/input/input.hpp"
#include "scene/controls_reader.hpp"
#include "scene/game_options.hpp"
#include "scene/game_services.hpp"

class NullWorld : public ::testing::Test {
protected:
    void SetUp() override { EnterWorld(); }
    // Builds the world working in `folder`; a fixture with a folder of its own calls it from its
    // SetUp. The effects are always the game's own, read from the source tree, so a hand-made
    // folder needs no Shader/.
    void EnterWorld(const std::filesystem::path& folder = KORVELIN_GAME_DIR) {
        setenv("ALSOFT_DRIVERS", "null", 1);  // sound goes nowhere, but the mixer runs
        previous_ = std::filesystem::current_path();
        entered_ = true;
        platform::SetDialogHandler([this](const platform::DialogRequest& r) {
            questions.push_back(r);
            return answer;
        });
        platform::SetInput(&input);
        CurrentGameOptions() = GameOptions{};
        GraphicsDevice::Instance().CreateNull(1280, 720);
        GraphicsDevice::Instance().SetDefaultStates();
        std::filesystem::current_path(KORVELIN_SOURCE_DIR "/assets");
        GameEffects::Instance().Create();
        std::filesystem::current_path(folder);
    }
    // Builds the world in a new, empty folder of the test's own, removed again at the end.
    void EnterOwnFolder() {
        ownFolder = std::filesystem::temp_directory_path() / ("korvelin-test-" + std::to_string(::getpid()));
        std::filesystem::remove_all(ownFolder);
        std::filesystem::create_directories(ownFolder);
        EnterWorld(ownFolder);
    }
    // A file of the own folder, its folders made: the full path.
    std::string OwnFile(const std::string& name) const {
        std::filesystem::create_directories((ownFolder / name).parent_path());
        return (ownFolder / name).string();
    }
    // Writes a file of the own folder; its full path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = OwnFile(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // A fixture that adds its own parts lets them go first, then calls this.
    void TearDown() override {
        if (!entered_) return;
        services_.reset();
        GameEffects::Instance().Release();
        GraphicsDevice::Instance().Release();
        CurrentGameOptions() = GameOptions{};
        platform::SetInput(nullptr);
        platform::SetDialogHandler(nullptr);
        std::filesystem::current_path(previous_);
        if (!ownFolder.empty()) std::filesystem::remove_all(ownFolder);
    }

    // Made on first use; a fixture with a scene manager answers with the manager's.
    virtual GameServices& services() {
        if (!services_) services_ = std::make_unique<GameServices>(false, true);
        return *services_;
    }
    AssetCaches& assets() { return services().assets(); }
    ModelCache& models() { return assets().models; }
    TextureCache& textures() { return assets().textures; }
    DebugUi& overlay() { return services().overlay(); }
    KeptValues& kept() { return services().kept(); }
    static platform::NullRenderDevice& device() {
        return static_cast<platform::NullRenderDevice&>(*GraphicsDevice::Instance().device);
    }
    // This update's controls from the scripted input, as the scene manager reads them: once per
    // update, for reading forgets the taps.
    Controls ReadInput() { return ReadControls(input, PictureMiddle(input)); }

    platform::ScriptedInput input;
    platform::DialogAnswer answer = platform::DialogAnswer::No;  // to every question
    std::vector<platform::DialogRequest> questions;              // in the order asked
    std::filesystem::path ownFolder;                             // empty unless entered

private:
    std::unique_ptr<GameServices> services_;
    std::filesystem::path previous_;
    bool entered_ = false;
};
