// Interval timer over the high-resolution counter: remembers a start count and reports
// the seconds since then.
#pragma once

#include <cstdint>

// 1 / counter frequency; set once per saver run by queryFrequency.
extern double secondsPerTick;

// Where counter readings come from (the platform's counter; tests install their own).
using CounterSource = std::int64_t (*)();
void setCounterSource(CounterSource source, std::int64_t ticksPerSecond);

bool queryFrequency();
std::int64_t readCounter();

class FrameTimer {
public:
    virtual ~FrameTimer() = default;

    void start() { startCount_ = readCounter(); }
    // Seconds since the last start; does not restart.
    double elapsedSeconds();

    std::int64_t startCount() const { return startCount_; }
    double elapsed() const { return elapsed_; }

private:
    std::int64_t startCount_ = 0;
    double elapsed_ = 0;
};

extern FrameTimer frameTimer;  // per-frame interval
extern FrameTimer rateTimer;   // the one-second frame-rate window
