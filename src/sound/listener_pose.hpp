// ListenerPose: where the ears are, taken from the camera's view transform.
#pragma once

#include "math/math.hpp"

// The listener in the game's own left-handed world (+x right, +y up, +z forward).
struct ListenerPose {
    Vec3 position;
    Vec3 front;  // unit length when the view is a rigid transform
    Vec3 top;
};

// The view transform maps world to camera, so its inverse is the camera's world matrix W: the
// ears sit at W's translation, face W applied to (0, 0, 1), and point their top along W applied
// to (0, 1, 0). A singular view leaves the listener at the origin facing +z.
ListenerPose ListenerPoseFromView(const Matrix& view);
