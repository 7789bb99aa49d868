// A game scene on the null device from the game folder, with scripted input and questions, a
// course of the test's own when it wants one, and stand-in characters that the test places.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/scene_manager.hpp"
#include "graphics/game_effects.hpp"
#include "graphics/graphics_device.hpp"
#include "graphics/model_cache.hpp"
#include "platform/null/null_render_device.hpp"
#include "platform/window/dialogs.hpp"
#include "platform/window/input.hpp"
#include "scene/game_options.hpp"
#include "scene/scene_factory.hpp"
#include "scene/scene_game.hpp"

// A character the test moves by hand: it counts what the scene asks of it and strikes the
// player while `strike` is set.
class StandIn : public CharaBase {
public:
    int Update(const Matrix&, BulletPool&, const CharaBase&, int*, int) override {
        ++updates;
        return strike;
    }
    void Draw() override { ++draws; }
    void OnCheckpointPassed() override { ++passed; }
    void Activate() override {
        ++activated;
        current.MoveNext();
    }
    int strike = 0, updates = 0, draws = 0, passed = 0, activated = 0;
};

class GameSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(KORVELIN_GAME_DIR);
        GraphicsDevice::Instance().CreateNull(1280, 720);
        GraphicsDevice::Instance().SetDefaultStates();
        GameEffects::Instance().Create();
        platform::SetInput(&input);
        platform::SetDialogHandler([this](const platform::DialogRequest& r) {
            questions.push_back(r.text);
            return answer;
        });
        manager = std::make_unique<SceneManager>(CreateGameScene);
        manager->Init();
        CurrentGameOptions() = GameOptions{};
    }
    void TearDown() override {
        manager->Release();
        manager.reset();
        GameEffects::Instance().Release();
        GraphicsDevice::Instance().Release();
        platform::SetInput(nullptr);
        platform::SetDialogHandler(nullptr);
        CurrentGameOptions() = GameOptions{};
        std::filesystem::current_path(previous);
        std::filesystem::remove(coursePath());
    }

public:
    std::string coursePath() const {
        return (std::filesystem::temp_directory_path() / ("korvelin_scene_" + std::to_string(::getpid()) + ".dat")).string();
    }
    // A course of "kind enemyNo" gates standing 300 apart along z, each 110 below the path.
    void UseCourse(std::initializer_list<std::pair<int, int>> gates) {
        std::ofstream out(coursePath());
        float z = 0;
        for (auto [kind, enemyNo] : gates) {
            out << kind << ' ' << enemyNo << " 1 0 0 0 0 1 0 0 0 0 1 0 0 -100 " << z << " 1\n";
            z += 300;
        }
        CurrentGameOptions().courseFile = coursePath();
    }
protected:
    SceneGame& Make() {
        manager->scene.reset();
        manager->scene = std::make_unique<SceneGame>();
        return game();
    }
    SceneGame& game() { return static_cast<SceneGame&>(*manager->scene); }
    // Replaces character i by a stand-in heading where it headed.
    StandIn& StandInFor(size_t i) {
        auto standIn = std::make_unique<StandIn>();
        standIn->current = game().characters[i]->current;
        standIn->world = game().characters[i]->world;
        StandIn& ref = *standIn;
        game().characters[i] = std::move(standIn);
        return ref;
    }
    // One unit before its gate's panel, facing it: the next passing test succeeds.
    static void BeforeItsGate(CharaBase& body) {
        body.world = MatrixTranslation(0, 110, -1) * body.current.gate().world;
    }
    platform::NullRenderDevice& device() {
        return static_cast<platform::NullRenderDevice&>(*GraphicsDevice::Instance().device);
    }
    // The draws of one frame of the whole pipeline.
    std::vector<platform::NullDraw> DrawFrame() {
        device().ClearDraws();
        manager->Draw();
        return device().draws();
    }
    static int CountMesh(const std::vector<platform::NullDraw>& draws, const char* model) {
        const platform::MeshBufferId id = gModelCache->Get(model)->mesh->buffer();
        int n = 0;
        for (const auto& d : draws) n += d.kind == platform::NullDraw::Kind::Mesh && d.mesh == id;
        return n;
    }

    std::filesystem::path previous;
    platform::ScriptedInput input;
    platform::DialogAnswer answer = platform::DialogAnswer::No;
    std::vector<std::string> questions;
    std::unique_ptr<SceneManager> manager;
};
