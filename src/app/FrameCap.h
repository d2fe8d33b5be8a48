// The frame-rate cap: after each frame, sleep until the next frame is due. Deadlines
// advance by whole periods, so the rate holds on average however each sleep lands and
// across short hitches; a run that falls far behind starts over from now instead of
// rushing to catch up.
#pragma once

#include <chrono>

class FrameCap {
public:
    using Clock = std::chrono::steady_clock;

    // 0 frames a second: no cap, wait() returns at once.
    explicit FrameCap(int framesPerSecond);

    // Sleeps (never spins) until the next frame is due, in pieces short enough that a
    // stop request ends the wait promptly.
    void wait(bool (*stopRequested)());

    // The deadline after `previous` for a frame finished at `now`.
    static Clock::time_point nextDeadline(Clock::time_point previous, Clock::time_point now, Clock::duration period);

private:
    Clock::duration period_{};
    Clock::time_point deadline_{};
    bool started_ = false;
};
