// The pair of angles that turns the chase camera: pitch, then yaw, in degrees. The mouse and
// the overlay's free look write them; the camera reads them.
#pragma once

struct CameraAngles {
    float pitch = 0.0f;  // about the player's own x axis; the mouse keeps it in -80 ... 15
    float yaw = 0.0f;    // about the own y axis, after the pitch; unlimited
};
