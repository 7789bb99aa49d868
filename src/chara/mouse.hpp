// The mouse as a joystick: how far the cursor stands from the middle of the picture turns the
// camera, and each update the cursor is drawn a tenth of the way back towards the middle.
#pragma once

class Camera;
struct LookFeel;

// A cursor position as its offset from the middle of the picture, in pixels (x right, y down).
struct CursorOffset {
    int x = 0, y = 0;
    bool operator==(const CursorOffset&) const = default;
};

class Mouse {
public:
    static constexpr int kDeadZone = 15;      // pixels around the middle that turn nothing
    static constexpr int kMaxOffset = 250;    // the cursor is never left further out
    static constexpr float kPitchMin = -80.0f, kPitchMax = 15.0f;

    // Turns the camera by the cursor's offset (the controls' look) and returns where the cursor
    // is to be put: a tenth of the way back, and never further out than 250 pixels. The vertical
    // step sees where the horizontal one left the cursor. `feel` scales the turn (never the
    // cursor's way back) and may turn the vertical one over.
    CursorOffset Update(Camera& camera, CursorOffset cursor, const LookFeel& feel) const;
};
