// The game clock: how many updates a drawn frame runs so the game keeps real time. Updates are
// due every 16 ms of real time (62.5 a second); a frame that took longer is followed by the
// updates that fell due meanwhile, at most four, so a machine that draws slowly still plays at
// full speed and a long stall cannot pile up work for the frames after it.
#pragma once

#include <chrono>

class GameClock {
public:
    using Time = std::chrono::steady_clock::time_point;
    static constexpr std::chrono::milliseconds kUpdate{16};
    static constexpr int kMaxUpdatesPerFrame = 4;

    // frameSkip false: one update per drawn frame, every frame lasting at least 16 ms (the
    // game's pacing before it kept real time).
    explicit GameClock(bool frameSkip) : frameSkip_(frameSkip) {}

    // The updates the frame starting at `now` runs before it is drawn: at least one.
    int UpdatesDue(Time now);
    // When the frame after this one should start: the next update's time (with frame skip), or
    // 16 ms after this frame began.
    Time NextFrame() const { return next_; }
    // Time stood still (a question waited for its answer): updates are due from `now` on, and
    // the wait is not made up for.
    void Restart(Time now) { next_ = now; }
    bool frameSkip() const { return frameSkip_; }
    void SetFrameSkip(bool on) { frameSkip_ = on; }

private:
    bool frameSkip_;
    bool started_ = false;
    Time next_{};
};
