// The game clock: over a run of drawn frames of given lengths, game time keeps real time as long
// as four updates a frame can cover it, and never runs ahead of it.
#include "app/game_clock.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using std::chrono::milliseconds;

struct Case {
    const char* what;
    bool frameSkip;
    std::vector<int> frameMs;   // how long each drawn frame takes, repeated for ten seconds
    std::vector<int> firstDue;  // the updates the first frames run
    double gameOverReal;        // game time against real time over the ten seconds
};

TEST(GameClock, UpdatesPerDrawnFrameKeepRealTime) {
    const Case cases[] = {
        {"a fast machine: one update a frame", true, {16}, {1, 1, 1, 1}, 1.0},
        {"20 fps: frames of 50 ms run three or four", true, {50}, {1, 3, 3, 3}, 1.0},
        {"uneven frames: 10 ms and 90 ms", true, {10, 90}, {1, 1, 4, 2}, 1.0},
        {"10 fps: four a frame is all, the game slows", true, {100}, {1, 4, 4, 4}, 0.64},
        {"no frame skip: one a frame at any speed", false, {100}, {1, 1, 1, 1}, 0.16},
    };
    for (const Case& c : cases) {
        GameClock clock(c.frameSkip);
        GameClock::Time now{};
        int updates = 0;
        std::vector<int> due;
        for (size_t frame = 0; now < GameClock::Time{} + milliseconds(10000); ++frame) {
            // The loop sleeps to the next update's time when it is early.
            if (clock.NextFrame() > now && frame > 0) now = clock.NextFrame();
            const int n = clock.UpdatesDue(now);
            EXPECT_GE(n, 1) << c.what;
            EXPECT_LE(n, GameClock::kMaxUpdatesPerFrame) << c.what;
            if (due.size() < c.firstDue.size()) due.push_back(n);
            updates += n;
            now += milliseconds(c.frameMs[frame % c.frameMs.size()]);
            // Game time never runs ahead of real time by more than the update in hand.
            EXPECT_LE(updates * 16, (now - GameClock::Time{}) / milliseconds(1) + 16) << c.what;
        }
        EXPECT_EQ(due, c.firstDue) << c.what;
        const double real = double((now - GameClock::Time{}) / milliseconds(1));
        EXPECT_NEAR(updates * 16.0 / real, c.gameOverReal, 0.02) << c.what;
    }
}

TEST(GameClock, AQuestionsWaitIsNotMadeUpAfterwards) {
    GameClock clock(true);
    GameClock::Time now{};
    clock.UpdatesDue(now);
    now += milliseconds(5000);  // a question waited five seconds inside the frame
    clock.Restart(now);
    now = clock.NextFrame();
    EXPECT_EQ(clock.UpdatesDue(now + milliseconds(16)), 2);
}

}  // namespace
