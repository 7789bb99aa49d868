// The null world with the game's scene manager (its title first), a course of the test's own
// when it wants one, and stand-in characters that the test places in a game scene.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/application.hpp"
#include "app/scene_manager.hpp"
#include "null_world.hpp"
#include "scene/scene_factory.hpp"
#include "scene/scene_game.hpp"

// A character the test moves by hand: it counts what the scene asks of it and strikes the
// player while `strike` is set.
class StandIn : public CharaBase {
public:
    bool Update(const UpdateContext&) override {
        ++updates;
        return strike;
    }
    void Draw() override { ++draws; }
    void OnCheckpointPassed() override { ++passed; }
    void Activate() override {
        ++activated;
        current.MoveNext();
    }
    bool strike = false;
    int updates = 0, draws = 0, passed = 0, activated = 0;
};

class SceneTest : public NullWorld {
protected:
    void SetUp() override {
        EnterWorld();
        manager = std::make_unique<SceneManager>(CreateGameScene);
        manager->Init();
    }
    void TearDown() override {
        manager->Release();
        manager.reset();
        NullWorld::TearDown();
        Application::Instance().loopEnded = false;  // a title asked to end the game
        std::filesystem::remove(coursePath());
    }
    GameServices& services() override { return manager->services(); }

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
        manager->scene = std::make_unique<SceneGame>(services());
        return game();
    }
    SceneGame& game() { return static_cast<SceneGame&>(*manager->scene); }
    // One update of the current scene with the controls the scripted input gives.
    SceneId Update() { return manager->scene->Update(ReadInput()); }
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
    // The draws of one frame of the whole pipeline.
    std::vector<platform::NullDraw> DrawFrame() {
        device().ClearDraws();
        manager->Draw();
        return device().draws();
    }
    int CountMesh(const std::vector<platform::NullDraw>& draws, const char* model) {
        const platform::MeshBufferId id = models().Get(model)->mesh->buffer();
        int n = 0;
        for (const auto& d : draws) n += d.kind == platform::NullDraw::Kind::Mesh && d.mesh == id;
        return n;
    }

    std::unique_ptr<SceneManager> manager;
};
