// ListenerPose: the camera's world matrix read back from the view transform.
#include "sound/listener_pose.hpp"

ListenerPose ListenerPoseFromView(const Matrix& view) {
    const Matrix world = MatrixInverse(view);
    ListenerPose pose;
    pose.position = world.Row(3);
    pose.front = Vec3TransformNormal({0, 0, 1}, world);
    pose.top = Vec3TransformNormal({0, 1, 0}, world);
    return pose;
}
