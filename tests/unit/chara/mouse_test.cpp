// The mouse as a joystick: the cursor's offset turns the camera and is pulled back.
#include "chara/mouse.hpp"

#include <gtest/gtest.h>

#include "chara/camera.hpp"
#include "chara/controls.hpp"
#include "graphics/model_cache.hpp"

namespace {

TEST(Mouse, TurnsByTheOffsetAndPullsTheCursorBack) {
    const struct Case {
        const char* what;
        CursorOffset offset;
        float pitch0;
        float yaw, pitch;      // after one update
        CursorOffset cursor;  // where the cursor is to go
        LookFeel feel = {};
    } cases[] = {
        {"inside the dead zone", {15, -15}, 0, 0, 0, {15, -15}},
        {"just outside, right", {16, 0}, 0, 0.16f, 0, {15, 0}},
        {"just outside, left", {-16, 0}, 0, -0.16f, 0, {-15, 0}},
        {"far right: turn, pull back, then the limit", {400, 0}, 0, 4.0f, 0, {250, 0}},
        {"far left", {-400, 0}, 0, -4.0f, 0, {-250, 0}},
        {"up, clamped at -80 not -80.9", {0, -100}, -79.9f, 0, -80.0f, {0, -90}},
        {"down, clamped at 15", {0, 300}, 14.0f, 0, 15.0f, {0, 250}},
        {"both axes in one call", {30, 40}, 0, 0.3f, 0.4f, {27, 36}},
        {"a tenth below one pixel pulls nothing", {0, 19}, 0, 0, 0.19f, {0, 18}},
        // The player's feel turns further (never pulls the cursor back faster) or over.
        {"twice the sensitivity", {30, 40}, 0, 0.6f, 0.8f, {27, 36}, {2.0, false}},
        {"inverted: down turns up", {30, 40}, 0, 0.3f, -0.4f, {27, 36}, {1.0, true}},
        {"inverted, held at -80 going up", {0, 300}, -79.0f, 0, -80.0f, {0, 250}, {1.0, true}},
    };
    ModelCache unused;  // the camera's sky, never asked for here
    for (const Case& c : cases) {
        Camera camera(unused);
        camera.pitch = c.pitch0;
        const CursorOffset cursor = Mouse().Update(camera, c.offset, c.feel);
        EXPECT_NEAR(camera.yaw, c.yaw, 1e-5f) << c.what;
        EXPECT_NEAR(camera.pitch, c.pitch, 1e-5f) << c.what;
        EXPECT_EQ(cursor.x, c.cursor.x) << c.what;
        EXPECT_EQ(cursor.y, c.cursor.y) << c.what;
    }
}

}  // namespace
