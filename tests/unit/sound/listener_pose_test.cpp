// ListenerPose: the ears sit where the camera is and face where it looks.
#include "sound/listener_pose.hpp"

#include <gtest/gtest.h>

namespace {

void ExpectNear(Vec3 a, Vec3 b) {
    EXPECT_NEAR(a.x, b.x, 1e-4f);
    EXPECT_NEAR(a.y, b.y, 1e-4f);
    EXPECT_NEAR(a.z, b.z, 1e-4f);
}

}  // namespace

TEST(ListenerPoseTest, FollowsTheCameraOfTheViewTransform) {
    struct ViewCase {
        const char* name;
        Vec3 eye, at, up;
        Vec3 top;  // expected
    };
    const ViewCase cases[] = {
        {"LookingForward", {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 1, 0}},
        {"BehindThePlayer", {3, 10, -20}, {3, 7, 0}, {0, 1, 0}, Vec3Normalize({0, 20, 3})},
        {"LookingRight", {-5, 2, 4}, {5, 2, 4}, {0, 1, 0}, {0, 1, 0}},
        {"Rolled", {1, 1, 1}, {1, 1, 2}, {1, 0, 0}, {1, 0, 0}},
    };
    for (const ViewCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ListenerPose pose = ListenerPoseFromView(MatrixLookAtLH(c.eye, c.at, c.up));
        ExpectNear(pose.position, c.eye);
        ExpectNear(pose.front, Vec3Normalize(c.at - c.eye));
        ExpectNear(pose.top, c.top);
    }
}
