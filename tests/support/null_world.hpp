// The game's world on the null render device, built the same way for every test that needs one:
// a folder as the working directory (the game folder, or one the test fills), the null device
// with its default states, the three effects, the process's services (silent sound, empty
// caches, the overlay off), scripted input, and questions the test answers. Torn down in the
// reverse order, back in the folder the test started in.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/null/null_render_device.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/window/input.hpp"
#include "scene/game_services.hpp"

class NullWorld : public ::testing::Test {
protected:
    // Builds the world in `folder`; tests call it from SetUp. Without services the test brings its
    // own (a scene manager's) by overriding services().
    void EnterWorld(const std::filesystem::path& folder = KORVELIN_GAME_DIR, bool makeServices = true) {
        setenv("ALSOFT_DRIVERS", "null", 1);  // sound goes nowhere, but the mixer runs
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        entered_ = true;
        GraphicsDevice::Instance().CreateNull(1280, 720);
        GraphicsDevice::Instance().SetDefaultStates();
        GameEffects::Instance().Create();
        if (makeServices) services_ = std::make_unique<GameServices>(false);
        platform::SetInput(&input);
        platform::SetDialogHandler([this](const platform::DialogRequest& r) {
            questions.push_back(r.text);
            return answer;
        });
    }
    void TearDown() override {
        if (!entered_) return;
        platform::SetDialogHandler(nullptr);
        platform::SetInput(nullptr);
        services_.reset();
        GameEffects::Instance().Release();
        GraphicsDevice::Instance().Release();
        std::filesystem::current_path(previous_);
    }

    virtual GameServices& services() { return *services_; }
    AssetCaches& assets() { return services().assets(); }
    ModelCache& models() { return services().assets().models; }
    TextureCache& textures() { return services().assets().textures; }
    KeptValues& kept() { return services().kept(); }
    platform::NullRenderDevice& device() {
        return static_cast<platform::NullRenderDevice&>(*GraphicsDevice::Instance().device);
    }

    platform::ScriptedInput input;
    platform::DialogAnswer answer = platform::DialogAnswer::No;  // to every question
    std::vector<std::string> questions;                          // their texts, in order

private:
    std::unique_ptr<GameServices> services_;
    std::filesystem::path previous_;
    bool entered_ = false;
};
