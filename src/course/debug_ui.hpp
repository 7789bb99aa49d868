// The developer overlay. Off unless the game is started with --dev; while on, the UI frame
// that the main loop begins every frame is drawn over the picture.
#pragma once

class DebugUi {
public:
    void Release() { enabled = 0; }

    int enabled = 0;  // non-zero: the overlay is drawn
};

// Created and deleted by the scene manager.
extern DebugUi* gDebugUi;
