// The game scene's stand-in: it flies the main course of the game folder's course file and
// gives the title back on Escape.
#include "scene/scene_game.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/scene_manager.hpp"
#include "graphics/graphics_device.hpp"
#include "platform/window/input.hpp"
#include "graphics/model_cache.hpp"
#include "graphics/texture_cache.hpp"
#include "scene/game_assets.hpp"
#include "scene/scene_factory.hpp"

using namespace platform;

namespace {

class SceneGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(KORVELIN_GAME_DIR);
        GraphicsDevice::Instance().CreateNull(1280, 720);
        SetInput(&input);
        manager = std::make_unique<SceneManager>(CreateGameScene);
        manager->Init();
        manager->scene = CreateGameScene(kSceneGame);
    }
    void TearDown() override {
        manager->Release();
        manager.reset();
        GraphicsDevice::Instance().Release();
        SetInput(nullptr);
        std::filesystem::current_path(previous);
    }
    SceneGame& game() { return static_cast<SceneGame&>(*manager->scene); }

    std::filesystem::path previous;
    ScriptedInput input;
    std::unique_ptr<SceneManager> manager;
};

TEST_F(SceneGameTest, FliesTheMainCourseGateAfterGate) {
    ASSERT_GT(game().gateCount(), 2u) << "the main course of data/data/cpdata.dat";
    const Vec3 start = game().position();
    for (int i = 0; i < 600; ++i) ASSERT_EQ(game().Update(), kSceneGame);
    const Vec3 moved = game().position() - start;
    // 600 frames at 1.9 units: a little less in a straight line, since the craft turns.
    EXPECT_GT(std::hypot(moved.x, moved.z), 600 * SceneGame::kSpeed * 0.8f);
    EXPECT_LE(std::hypot(moved.x, moved.z), 600 * SceneGame::kSpeed + 1.0f);
    EXPECT_GT(game().nextGate(), 1u) << "gates passed on the way";
    manager->Draw();  // the maps, the craft and the gates draw without a fault
    EXPECT_TRUE(GraphicsDevice::Instance().device->errors().empty());
}

TEST_F(SceneGameTest, EscapeGivesTheTitleBack) {
    input.SetKey(Key::Escape, true);
    EXPECT_EQ(game().Update(), kSceneTitle);
}

TEST_F(SceneGameTest, EverythingItAsksTheCachesForIsOnTheListTheTitleReadsAhead) {
    for (int frame = 0; frame < 120; ++frame) {
        manager->Update();
        manager->Draw();
    }
    const auto onList = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    EXPECT_GT(gModelCache->size(), 0u);
    for (const std::string& name : gModelCache->FileNames()) EXPECT_TRUE(onList(GameSceneModels(), name)) << name;
    for (const std::string& name : gTextureCache->FileNames()) EXPECT_TRUE(onList(GameScenePictures(), name)) << name;
}

}  // namespace
