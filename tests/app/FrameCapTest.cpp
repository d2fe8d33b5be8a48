#include <gtest/gtest.h>

#include "app/FrameCap.h"

namespace {

using namespace std::chrono_literals;

// Deadlines keep whole periods (no drift from late wake-ups); a run a whole frame behind
// starts over from now rather than drawing a burst to catch up.
TEST(FrameCap, DeadlinesKeepTheRhythm) {
    FrameCap::Clock::time_point start{};
    auto period = 20ms;
    EXPECT_EQ(FrameCap::nextDeadline(start, start + 5ms, period), start + 20ms);
    EXPECT_EQ(FrameCap::nextDeadline(start, start + 25ms, period), start + 20ms);
    EXPECT_EQ(FrameCap::nextDeadline(start, start + 39ms, period), start + 20ms);
    EXPECT_EQ(FrameCap::nextDeadline(start, start + 45ms, period), start + 45ms);
}

// A stop request ends a long wait at once.
TEST(FrameCap, StopRequestEndsTheWait) {
    FrameCap cap(1);
    cap.wait(nullptr);  // the first frame sets the rhythm
    auto before = FrameCap::Clock::now();
    cap.wait([] { return true; });
    EXPECT_LT(FrameCap::Clock::now() - before, 200ms);
}

}  // namespace
