// Counting the updates a drawn frame is due.
#include "app/game_clock.hpp"

int GameClock::UpdatesDue(Time now) {
    if (!started_ || !frameSkip_) {
        started_ = true;
        next_ = now + kUpdate;
        return 1;
    }
    int due = 0;
    while (next_ <= now && due < kMaxUpdatesPerFrame) {
        next_ += kUpdate;
        ++due;
    }
    // What is still due after four waits for the next frames, but never more than one frame's
    // worth: a machine that stays too slow plays slower rather than falling ever further behind.
    const Time oldest = now - (kMaxUpdatesPerFrame - 1) * kUpdate;
    if (next_ < oldest) next_ = oldest;
    // Woken a little early: the frame still runs its update (the next one is due from here).
    if (due == 0) {
        next_ += kUpdate;
        due = 1;
    }
    return due;
}
