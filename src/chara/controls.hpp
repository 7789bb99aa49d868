// What the player asks of the game in one update: one snapshot, made once per update from the
// keyboard, the mouse and the gamepads before the scene runs, and only read afterwards. Nothing
// below the scenes asks a device.
#pragma once

// The developer overlay's flight keys (W S A D R F Q E Z and Space), held or not.
struct FlyKeys {
    bool forward = false, backward = false;  // W, S
    bool turnLeft = false, turnRight = false;  // A, D
    bool up = false, down = false;  // R, F
    bool left = false, right = false;  // Q, E
    // Pressed since the last update (true for one update per press, however long it is held or
    // however short the tap): walk mode toggles, a gate is dropped.
    bool walk = false;   // Z
    bool place = false;  // Space
};

// How the look answers the cursor, as the player set it: how far the camera turns for the same
// offset, and the vertical turn the other way.
struct LookFeel {
    double sensitivity = 1.0;
    bool invertVertical = false;
};

struct Controls {
    // Slide left (A) and right (D) are held. Both together cancel in the craft's move but each
    // still acts in the order the game has always applied them.
    bool slideLeft = false, slideRight = false;
    bool fire = false;  // the fire button is held, or was tapped since the last update
    // How far the cursor stands from the middle of the picture, in pixels (x right, y down):
    // the mouse, or the right stick, turning the camera like a joystick.
    int lookX = 0, lookY = 0;
    LookFeel feel;
    // Start (Space) and back (Escape): down now, or pressed and released since the last update,
    // so a tap shorter than a frame still counts.
    bool start = false, back = false;
    // Some key or button the game knows (the keyboard's, the mouse's, a gamepad's) is down, or
    // was pressed since the last update.
    bool anyPress = false;
    FlyKeys fly;

    // -1 left, +1 right, 0 neither or both.
    int Slide() const { return int(slideRight) - int(slideLeft); }
};
