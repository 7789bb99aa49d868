// Where a run stands, as the game scene's rules change it and its HUD and trace show it: its
// phase, the opening's white veil and zoom, the count after its end, the hits and lives left,
// the score, the hit flash, and the enemies released so far.
#pragma once

#include <cstdint>

#include "course/course_position.hpp"

enum class RunPhase : uint8_t {
    Opening,  // the white fades and the view zooms in from 180 degrees
    Play,
    RunOver,  // the goal reached or the craft destroyed: the camera swings round, the panels move
    Result,   // from kResultFrame updates after the end: the result counts up, then the fade
};

// The red flash of a hit, and the life icon that fades with it.
struct HitFlash {
    static constexpr int kLength = 400;  // the timer's start, falling by 2 per step
    bool active = false;
    int alpha = 0;  // of the flash and the fading icon, 0 ... 255
    int timer = 0;
};

struct RunState {
    static constexpr int kResultFrame = 100;     // updates after the end when the result shows
    static constexpr int kFadeStartFrame = 380;  // ... when the white comes back
    static constexpr int kLeaveFrame = 500;      // ... when the title takes over

    // A run that ends during its opening (a course whose goal is that close) shows its end while
    // the opening finishes; the run-over phase follows the opening.
    void End();
    // The white has faded: play, or the run-over phase of a run that ended meanwhile.
    void OpeningDone() { phase = ended ? RunPhase::RunOver : RunPhase::Play; }
    // One update after the end.
    void CountAfterEnd();
    bool Destroyed() const { return hitsLeft < 0; }

    RunPhase phase = RunPhase::Opening;
    bool ended = false;        // the goal is reached or the craft destroyed
    int fadeAlpha = 255;       // the white veil, 0 ... 255
    float openingFov = 180.0f; // degrees, during the opening
    int endFrames = 0;         // updates since the run ended
    int hitsLeft = 2;          // below 0 the craft is destroyed
    int lives = 3;             // life icons; the craft moves only while above 0
    int score = 0;             // enemies add 100 per unit destroyed
    HitFlash flash;
    int enemiesReleased = 0;
    CoursePosition lastTrigger;  // the trigger gate that last released an enemy
};
