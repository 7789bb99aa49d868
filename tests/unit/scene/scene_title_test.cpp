// The title scene on the null device with scripted keys, run from the game folder.
#include "scene/scene_title.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "game_scene_fixture.hpp"
#include "platform/window/clock.hpp"
#include "scene/game_assets.hpp"

using namespace platform;

namespace {

class SceneTitleTest : public SceneTest {
protected:
    SceneTitle& title() { return static_cast<SceneTitle&>(*manager->scene); }
    float ProjectionFov() {
        const Matrix& p = GraphicsDevice::Instance().device->GetTransform(TransformType::Projection);
        return 2.0f * std::atan(1.0f / p.m[1][1]) / kDegToRad;
    }
};

TEST_F(SceneTitleTest, StartsAt80DegreesWithTheCameraBeforeTheTunnel) {
    EXPECT_NEAR(ProjectionFov(), 80.0f, 1e-3f);
    const Matrix view = GraphicsDevice::Instance().device->GetTransform(TransformType::View);
    // The offset (0, 15, -80) turned with the 15-degree tilt: translation first, then the turn.
    const Vec3 eye = MatrixInverse(view).Row(3);
    const float c = std::cos(15 * kDegToRad), s = std::sin(15 * kDegToRad);
    EXPECT_NEAR(eye.y, 15 * c + 80 * s, 1e-3f);
    EXPECT_NEAR(eye.z, 15 * s - 80 * c, 1e-3f);
    // Looking 15 degrees down: the view's forward axis points below the horizon.
    const Vec3 forward = MatrixInverse(view).Row(2);
    EXPECT_NEAR(std::asin(-forward.y) / kDegToRad, 15.0f, 1e-3f);
}

TEST_F(SceneTitleTest, ATapOfSpaceZoomsThenFadesThenAsksForTheGame) {
    manager->Update();
    EXPECT_EQ(title().started, 0);
    input.Tap(Key::Space);  // pressed and released between two frames
    int zoomFrames = 0, fadeFrames = 0;
    SceneId id = kSceneTitle;
    for (int frame = 0; frame < 400 && id == kSceneTitle; ++frame) {
        id = Update();
        if (id != kSceneTitle) break;
        if (title().fade == 0)
            ++zoomFrames;
        else
            ++fadeFrames;
    }
    EXPECT_EQ(id, kSceneGame);
    // 0.3 degrees a frame from 80 passes 100 after about 67 frames; then 86 steps of 3 pass 255.
    EXPECT_NEAR(zoomFrames, 67, 1);
    EXPECT_EQ(fadeFrames + 1, 86);
    EXPECT_GT(ProjectionFov(), 100.0f);
}

TEST_F(SceneTitleTest, EscapeAnsweredNoGoesOnAndStillReadsSpaceInTheSameFrame) {
    input.Tap(Key::Escape);
    input.SetKey(Key::Space, true);
    EXPECT_EQ(Update(), kSceneTitle);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Quit the game?");
    EXPECT_FALSE(questions[0].defaultYes);
    EXPECT_FALSE(Application::Instance().loopEnded);
    EXPECT_EQ(title().started, 1);
    EXPECT_NEAR(title().fieldOfView, 80.3f, 1e-4f);
}

TEST_F(SceneTitleTest, EscapeAnsweredYesEndsTheGame) {
    answer = DialogAnswer::Yes;
    input.SetKey(Key::Escape, true);
    EXPECT_EQ(Update(), kSceneTitle);
    EXPECT_TRUE(Application::Instance().loopEnded);
}

TEST_F(SceneTitleTest, TheTunnelScrollsSeamlesslyAndKeepsItsTurnForTheNextVisit) {
    const float& tunnelAngle = kept().tunnelAngle;
    const float angle0 = tunnelAngle;
    manager->Draw();
    // Twenty copies of the title model, one draw per subset each.
    size_t meshDraws = 0;
    for (const NullDraw& d : device().draws()) meshDraws += d.kind == NullDraw::Kind::Mesh;
    EXPECT_GT(meshDraws, 0u) << "the title model loads from the game folder";
    EXPECT_EQ(meshDraws % SceneTitle::kModelCount, 0u);
    for (int i = 1; i < 400; ++i) title().Draw3D();
    EXPECT_NEAR(tunnelAngle - angle0, 400 * 0.05f, 1e-2f);
    EXPECT_GE(title().scroll, 0.0f);
    EXPECT_LE(title().scroll, SceneTitle::kModelSpacing);

    // Back from the game: a fresh title at 80 degrees, no fade, no scroll, the same turn.
    const float angle = tunnelAngle;
    manager->scene = CreateGameScene(kSceneTitle, services());
    EXPECT_EQ(title().fieldOfView, 80.0f);
    EXPECT_EQ(title().fade, 0);
    EXPECT_EQ(title().scroll, 0.0f);
    EXPECT_EQ(tunnelAngle, angle);
}

TEST_F(SceneTitleTest, MusicIsAskedForEveryFrameAndNeverRestarted) {
    if (services().sound().IsSilent()) GTEST_SKIP() << "no sound output here";
    manager->Update();
    EXPECT_EQ(services().sound().CurrentBgm(), "data/sound/bgm.wav");
    EXPECT_TRUE(services().sound().IsBgmPlaying("data/sound/bgm.wav"));
    int last = -1;
    for (int i = 0; i < 5; ++i) {
        platform::SleepMs(20);
        manager->Update();
        const int position = services().sound().BgmPlayPosition("data/sound/bgm.wav");
        EXPECT_GE(position, last) << "the track runs on, it is not rewound";
        last = position;
    }
}

TEST_F(SceneTitleTest, PicturesAndTheVersionTextStandWhereTheyBelong) {
    manager->Draw();
    std::vector<Vec3> origins;
    for (const NullDraw& d : device().draws())
        if (d.kind == NullDraw::Kind::Hud) origins.push_back(d.transforms[size_t(TransformType::World)].Row(3));
    // backdrop (behind the world), version text, logo, start prompt, options hint; the veil is invisible at fade 0
    // but still drawn, and the alpha test removes it.
    ASSERT_GE(origins.size(), 4u);
    EXPECT_EQ(origins[0], Vec3(0, 0, 1));
    // The version text: bottom right at twice the font size, all of it on the screen.
    const int textWidth = 2 * GraphicsDevice::Instance().font->Measure("Ver.1.1.0").Width();
    EXPECT_NEAR(origins[1].x, 1180, 10);
    EXPECT_LE(origins[1].x + textWidth, 1280 - 2);
    EXPECT_EQ(origins[1].y, 695);
    EXPECT_EQ(origins[2], Vec3(320, 100, 0));
    EXPECT_EQ(origins[3], Vec3(500, 500, 0));
    // The options hint: bottom left, on the version text's line.
    ASSERT_GE(origins.size(), 5u);
    EXPECT_EQ(origins[4], Vec3(12, 695, 0));
}

TEST_F(SceneTitleTest, TheFirstFrameStartsReadingTheGamesFilesAndQuittingMeanwhileIsClean) {
    for (const std::string& name : GameSceneModels()) ASSERT_FALSE(models().ReadingAhead(name)) << name;
    manager->Update();
    for (const std::string& name : GameSceneModels()) EXPECT_TRUE(models().ReadingAhead(name)) << name;
    for (const std::string& name : GameScenePictures()) EXPECT_TRUE(textures().ReadingAhead(name)) << name;
    // The program ends long before the maps are read: the reading stops with the caches.
    manager->Release();
}

}  // namespace
