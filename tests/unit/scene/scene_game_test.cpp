// The game scene on the null device: construction, gates and triggers, hits, the run's end,
// the HUD's counters and panels, and courses that cannot be played.
#include "scene/scene_game.hpp"

#include <gtest/gtest.h>

#include "game_scene_fixture.hpp"
#include "../editor/ui_driver.hpp"
#include "scene/game_assets.hpp"

using namespace platform;

namespace {

class GameScene : public SceneTest {
protected:
    // The HUD quads drawn with one picture, in drawing order.
    std::vector<NullDraw> QuadsOf(const std::vector<NullDraw>& draws, const char* picture) {
        const TextureId id = textures().Get(picture)->texture;
        std::vector<NullDraw> out;
        for (const NullDraw& d : draws)
            if (d.kind == NullDraw::Kind::Hud && d.texture0 == id && d.hud.size() == 4) out.push_back(d);
        return out;
    }
};

// Main course: start, four triggers, goal; then three routes of a spawn and an end gate.
void UseTriggerCourse(SceneTest& t) {
    t.UseCourse({{0, 0}, {3, 0}, {3, 0}, {3, 0}, {3, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {2, 2}, {0, 3}, {2, 3}});
}

TEST_F(GameScene, MakesThePlayerAndOneEnemyPerSpawnGateHidesAndCentresTheCursor) {
    input.SetCursor({5, 5});
    UseCourse({{0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(Make().characters.size(), 1u);
    EXPECT_EQ(input.cursorCount(), -1);
    EXPECT_EQ(input.GetCursorPos(), (Point{640, 360}));
    manager->scene.reset();
    EXPECT_EQ(input.cursorCount(), 0) << "shown again when the scene goes";

    UseTriggerCourse(*this);
    SceneGame& game = Make();
    ASSERT_EQ(game.characters.size(), 4u);
    for (size_t i = 1; i < 4; ++i) EXPECT_EQ(game.characters[i]->current.index(), 1u) << "enemies wait at the start";
    EXPECT_TRUE(game.courseError().empty());
}

TEST_F(GameScene, TriggerGatesReleaseTheEnemiesInOrderAndEachGateFiresOnce) {
    UseTriggerCourse(*this);
    Make();
    StandIn& player = StandInFor(0);
    StandIn* enemy[4] = {nullptr, &StandInFor(1), &StandInFor(2), &StandInFor(3)};

    BeforeItsGate(player);  // passes trigger 1: enemy 1 goes to its spawn gate
    Update();
    EXPECT_EQ(enemy[1]->activated, 1);
    EXPECT_EQ(enemy[1]->current.index(), 7u) << "at its spawn gate (6), then on to the next";
    EXPECT_EQ(player.current.index(), 2u);

    // Any character passing its gate fires the trigger the player heads for, once.
    BeforeItsGate(*enemy[1]);
    Update();
    EXPECT_EQ(enemy[2]->activated, 1);
    BeforeItsGate(*enemy[1]);
    Update();
    EXPECT_EQ(enemy[3]->activated, 0) << "trigger 2 has fired already";
    enemy[1]->world = MatrixTranslation(0, 0, -5000);
    BeforeItsGate(player);
    Update();
    EXPECT_EQ(enemy[3]->activated, 0) << "the player passing trigger 2 fires nothing more";

    BeforeItsGate(player);  // trigger 3
    Update();
    EXPECT_EQ(enemy[3]->activated, 1);
    BeforeItsGate(player);  // trigger 4: there is no enemy 4
    Update();
    EXPECT_EQ(game().run().enemiesReleased, 4);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(enemy[i]->activated, 1) << i;
    EXPECT_EQ(player.current.index(), 5u);
    EXPECT_FALSE(game().run().ended);
}

TEST_F(GameScene, HitsFlashAndTheThirdDestroysThePlayer) {
    UseCourse({{0, 0}, {1, 0}, {1, 0}, {2, 0}});
    Make();
    StandIn& player = StandInFor(0);
    auto owned = std::make_unique<StandIn>();
    StandIn& enemy = *owned;
    enemy.current = player.current;
    game().characters.push_back(std::move(owned));

    enemy.strike = true;
    for (int hit = 1; hit <= 3; ++hit) {
        Update();
        EXPECT_EQ(game().run().hitsLeft, 2 - hit);
        EXPECT_TRUE(game().run().flash.active);
        // The flash runs a step per character visited: 201 steps, two a frame after the first.
        int frames = 1;
        while (game().run().flash.active && frames < 1000) {
            Update();
            ++frames;
        }
        EXPECT_EQ(frames, 101) << "hit " << hit;
        EXPECT_EQ(game().run().hitsLeft, 2 - hit) << "no hit while the flash runs";
        EXPECT_EQ(game().run().lives, 3 - hit);
    }
    EXPECT_TRUE(game().run().ended);
    EXPECT_EQ(game().run().phase, RunPhase::Result) << "the last flash outlasts the 100 updates before the result";
    EXPECT_EQ(game().run().lives, 0);
    Update();
    EXPECT_EQ(game().run().hitsLeft, -1) << "no hit after the run is over";

    // A destroyed player and its gun vanish; the rest still draws.
    const int draws = player.draws;
    const auto frame = DrawFrame();
    EXPECT_EQ(player.draws, draws);
    EXPECT_EQ(enemy.draws, draws + 1);
    EXPECT_EQ(CountMesh(frame, "data/model/weapon.x"), 0);
    EXPECT_GT(CountMesh(frame, "data/model/mapB.x"), 0);
}

TEST_F(GameScene, AGoalDuringTheOpeningCountsDownOnlyAfterItAndReturnsToTheTitle) {
    UseCourse({{0, 0}, {2, 0}});
    Make();
    StandIn& player = StandInFor(0);
    BeforeItsGate(player);
    ASSERT_EQ(Update(), kSceneGame);
    EXPECT_TRUE(game().run().ended);
    int update = 1;
    while (game().run().phase == RunPhase::Opening) {
        EXPECT_EQ(game().run().endFrames, 0);
        Update();
        ++update;
    }
    EXPECT_EQ(update, 86) << "the white fades out in 86 updates";
    EXPECT_EQ(game().run().phase, RunPhase::RunOver);
    int more = 0;
    while (Update() == kSceneGame && more < 1000) ++more;
    EXPECT_EQ(more, 500) << "the 501st run-over update returns to the title";
    EXPECT_EQ(game().run().phase, RunPhase::Result);
    EXPECT_EQ(game().run().fadeAlpha, 255);
}

TEST_F(GameScene, EscapeAsksAndNoGoesOnInTheSameFrameWhileYesLeaves) {
    UseCourse({{0, 0}, {1, 0}, {2, 0}});
    Make();
    input.SetKey(Key::Escape, true);
    EXPECT_EQ(Update(), kSceneGame);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Return to the title?");
    EXPECT_EQ(game().hud().steerTilt, 1) << "the update went on after No";
    EXPECT_EQ(game().run().fadeAlpha, 252);
    EXPECT_EQ(input.cursorCount(), -1) << "hidden again";
    answer = DialogAnswer::Yes;
    EXPECT_EQ(Update(), kSceneTitle);
}

TEST_F(GameScene, ScoreCountsUpBy21AndTheHudTiltRestsAtOne) {
    UseCourse({{0, 0}, {1, 0}, {2, 0}});
    Make();
    StandInFor(0);
    game().run().score = 100;
    std::vector<int> shown;
    for (int i = 0; i < 6; ++i) {
        Update();
        shown.push_back(game().hud().shownScore);
    }
    EXPECT_EQ(shown, (std::vector<int>{21, 42, 63, 84, 100, 100}));
    EXPECT_EQ(game().hud().steerTilt, 1);
    input.SetKey(Key::D, true);
    for (int i = 0; i < 30; ++i) Update();
    EXPECT_EQ(game().hud().steerTilt, 15);
    input.SetKey(Key::D, false);
    input.SetKey(Key::A, true);
    for (int i = 0; i < 30; ++i) Update();
    EXPECT_EQ(game().hud().steerTilt, -15);
}

TEST_F(GameScene, GateSpinsCarryOverToTheNextRun) {
    UseCourse({{0, 0}, {1, 0}, {2, 0}});
    KeptValues& spins = kept();
    spins.enemyGateSpin = 359.5f;
    spins.goalGateSpin = 10.0f;
    Make();
    DrawFrame();
    EXPECT_EQ(spins.enemyGateSpin, 0.0f) << "the frame that wraps uses 0";
    DrawFrame();
    Make();  // the next run
    DrawFrame();
    EXPECT_FLOAT_EQ(spins.enemyGateSpin, 1.6f);
    EXPECT_FLOAT_EQ(spins.goalGateSpin, 10.9f);
}

TEST_F(GameScene, ScoreDigitsAndLifeIconsAreQuadsOfTheirPictures) {
    UseCourse({{0, 0}, {1, 0}, {2, 0}});
    Make();
    const float glyph = 130.0f / float(textures().Get("data/texture/number.png")->imageInfo.width);
    EXPECT_EQ(QuadsOf(DrawFrame(), "data/texture/number.png").size(), 1u) << "0 is one glyph";
    game().hud().shownScore = 12345;
    const auto digits = QuadsOf(DrawFrame(), "data/texture/number.png");
    ASSERT_EQ(digits.size(), 5u);
    for (int k = 0; k < 5; ++k) EXPECT_NEAR(digits[k].hud[0].u, glyph * float(5 - k), 1e-5f) << "units first";
    // Units at the panel's origin, each further digit 0.481481 to its left (the glyph's scale
    // shrinks the glyph, not the step).
    const Vec3 units = digits[0].transforms[size_t(TransformType::World)].Row(3);
    const Vec3 tens = digits[1].transforms[size_t(TransformType::World)].Row(3);
    EXPECT_NEAR(Vec3Length(tens - units), 0.481481f, 1e-4f);

    // During the flash after the first hit: two whole icons and one fading with the flash.
    game().run().hitsLeft = 1;
    game().run().flash.alpha = 100;
    auto lives = QuadsOf(DrawFrame(), "data/texture/life.png");
    ASSERT_EQ(lives.size(), 3u);
    EXPECT_EQ(lives[0].hud[0].u, 0.0f);
    EXPECT_EQ(lives[1].hud[0].u, 0.0f);
    EXPECT_EQ(lives[1].hud[0].color, 0xFFFFFFFFu);
    EXPECT_EQ(lives[2].hud[0].u, 0.5f) << "the losing icon";
    EXPECT_EQ(lives[2].hud[0].color >> 24, 100u);
    game().run().lives = 2;
    game().run().flash.alpha = 0;
    lives = QuadsOf(DrawFrame(), "data/texture/life.png");
    ASSERT_EQ(lives.size(), 2u);
    for (const auto& q : lives) EXPECT_EQ(q.hud[0].u, 0.0f);
    EXPECT_EQ(game().hud().quad[0].color, 0xFFFFFFFFu) << "white again after a faded panel";
}

TEST_F(GameScene, TheResultCountsUpTo5300In25Frames) {
    UseCourse({{0, 0}, {1, 0}, {2, 0}});
    Make();
    game().run().End();
    game().run().phase = RunPhase::Result;
    game().run().endFrames = 101;
    game().run().lives = 2;
    game().hud().shownScore = 1300;
    int frames = 0;
    while (game().hud().shownResult < 5300 && frames < 100) {
        DrawFrame();
        ++frames;
    }
    EXPECT_EQ(frames, 25);
    DrawFrame();
    EXPECT_EQ(game().hud().shownResult, 5300);
    EXPECT_EQ(QuadsOf(DrawFrame(), "data/texture/resultnumber.png").size(), 4u);
}

TEST_F(GameScene, TheArrowShowsHowFarTheCursorIsFromTheCentre) {
    UseCourse({{0, 0}, {1, 0}, {2, 0}});
    Make();
    const TextureId arrow = textures().Get("data/Texture/arrow.png")->texture;
    // The update takes the cursor's offset from the controls; the frame after it shows it.
    auto arrowAlpha = [&](Point cursor) {
        input.SetCursor(cursor);
        Update();
        for (const NullDraw& d : DrawFrame())
            if (d.texture0 == arrow && !d.hud.empty()) return int(d.hud[0].color >> 24);
        return 0;
    };
    EXPECT_EQ(arrowAlpha({640, 360}), 0) << "fully transparent at the centre";
    EXPECT_EQ(arrowAlpha({740, 360}), 200);
    EXPECT_EQ(arrowAlpha({1200, 700}), 254) << "strength stops at 127";
}

}  // namespace

namespace {

TEST_F(GameScene, TheOverlayOnlyWhenSwitchedOnAndThenItFliesTheCraftAndTheMouseLeavesTheCamera) {
    UseCourse({{0, 0}, {1, 0}, {1, 0}, {2, 0}});
    Make();
    game().run().OpeningDone();  // play: the mouse turns the camera
    game().run().fadeAlpha = 0;
    UiDriver ui([this] { Update(); });
    input.SetKey(Key::W, true);
    for (const bool enabled : {false, true}) {
        overlay().enabled = enabled;
        const float yaw = game().camera->yaw;
        const Matrix craft = game().player().world;
        input.SetCursor({640 + 200, 360});
        const int cursorSets = input.setCursorCalls();
        ui.Frame();
        EXPECT_EQ(ImGui::FindWindowByName("###DebugState") != nullptr, enabled);
        if (enabled) {
            EXPECT_EQ(game().camera->yaw, yaw) << "the cursor is free for the overlay";
            EXPECT_EQ(input.setCursorCalls(), cursorSets) << "and left where it is";
            // W flies it two ahead; no turn, no ground and no advance of its own move it.
            EXPECT_EQ(game().player().world.Row(2), craft.Row(2));
            const Vec3 flown = game().player().world.Row(3) - craft.Row(3);
            EXPECT_NEAR(Vec3Length(flown - craft.Row(2) * 2.0f), 0.0f, 1e-3f);
        } else {
            EXPECT_NEAR(game().camera->yaw, yaw + 2.0f, 1e-4f) << "200 pixels right turn 2 degrees";
        }
    }
}

}  // namespace

namespace {

// The title reads the game's files ahead; a file missing from that list would stall the
// transition again.
TEST_F(GameScene, EverythingARunAsksTheCachesForIsOnTheListTheTitleReadsAhead) {
    Make();
    input.SetKey(Key::LeftButton, true);
    for (int frame = 0; frame < 400; ++frame) {
        manager->Update();
        manager->Draw();
    }
    const auto onList = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    EXPECT_GT(models().size(), 10u);
    for (const std::string& name : models().FileNames()) EXPECT_TRUE(onList(GameSceneModels(), name)) << name;
    for (const std::string& name : textures().FileNames()) EXPECT_TRUE(onList(GameScenePictures(), name)) << name;
}

}  // namespace

namespace {

// A course maker flies the canyon with the overlay on and drops a gate at every main gate of
// the game's own course, saves it, and the saved course is flown to its goal.
TEST_F(GameScene, ACourseMadeWithTheEditorCanBePlayed) {
    CourseList guide;
    ASSERT_TRUE(LoadCourse(kCourseFile, guide).Ok());
    std::vector<Vec3> path;
    for (const auto& cp : guide)
        if (cp->enemyNo == 0) path.push_back(cp->world.Row(3) + Vec3{0, 110, 0});
    ASSERT_GT(path.size(), 3u);

    DebugUi& editor = overlay();
    editor.enabled = true;
    editor.saveFile = coursePath();
    UiDriver ui([] {});
    for (size_t k = 0; k < path.size(); ++k) {
        // Facing the next gate, the way the craft will come through.
        const Vec3 ahead = k + 1 < path.size() ? path[k + 1] - path[k] : path[k] - path[k - 1];
        const Matrix player = MatrixInverse(MatrixLookAtLH(path[k], path[k] + Vec3{ahead.x, 0, ahead.z}, {0, 1, 0}));
        editor.currentKind = k == 0 ? 0 : k + 1 == path.size() ? 2 : 1;
        for (const bool space : {true, false}) {
            FlyKeys keys;
            keys.place = space;
            ImGui::NewFrame();
            editor.ShowState(player, keys);
            ImGui::Render();
        }
    }
    ASSERT_EQ(editor.checkpoints.size(), path.size());
    ASSERT_TRUE(editor.Save()) << editor.fileMessage;
    editor.enabled = false;

    CurrentGameOptions().courseFile = coursePath();
    SceneGame& game = Make();
    ASSERT_TRUE(game.courseError().empty()) << game.courseError();
    int frames = 0;
    while (!game.run().ended && frames < 20000) {
        Update();
        ++frames;
    }
    EXPECT_TRUE(game.run().ended) << "the goal after " << frames << " frames";
    EXPECT_EQ(game.run().hitsLeft, 2);
    EXPECT_EQ(game.player().current.index(), path.size() - 1) << "every gate passed in order";
}

}  // namespace
