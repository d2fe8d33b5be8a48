#include "app/FrameCap.h"

#include <algorithm>
#include <thread>

namespace {

// Longest single sleep: a SIGTERM is noticed within this time whatever the cap.
constexpr std::chrono::milliseconds kLongestSleep{50};
// A hitch this long (a scene file read, textures made) is made up by the next frames, so
// the rate holds on average; after a longer one the rhythm starts again.
constexpr std::chrono::milliseconds kMadeUp{100};

}  // namespace

FrameCap::FrameCap(int framesPerSecond) {
    if (framesPerSecond > 0) {
        period_ = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / framesPerSecond));
    }
}

FrameCap::Clock::time_point FrameCap::nextDeadline(Clock::time_point previous, Clock::time_point now,
                                                   Clock::duration period) {
    Clock::time_point next = previous + period;
    if (next + std::max<Clock::duration>(period, kMadeUp) < now) next = now;
    return next;
}

void FrameCap::wait(bool (*stopRequested)()) {
    if (period_ == Clock::duration::zero()) return;
    Clock::time_point now = Clock::now();
    deadline_ = started_ ? nextDeadline(deadline_, now, period_) : now;
    started_ = true;
    while (now < deadline_ && !(stopRequested && stopRequested())) {
        std::this_thread::sleep_until(std::min(deadline_, now + kLongestSleep));
        now = Clock::now();
    }
}
