// The developer overlay. Off unless the game is started with --dev; while on, the UI frame
// that the main loop begins every frame is drawn over the picture. For now it shows the
// frame rate; the course editor joins it later.
#pragma once

#include <cstdint>

class DebugUi {
public:
    // Issues this frame's overlay windows; call between the UI frame's start and its drawing.
    void Draw(uint32_t framesPerSecond, int frameCount);
    void Release() { enabled = 0; }

    int enabled = 0;  // non-zero: the overlay is drawn
};

// Created and deleted by the scene manager.
extern DebugUi* gDebugUi;
