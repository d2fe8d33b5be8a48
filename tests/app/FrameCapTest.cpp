#include <gtest/gtest.h>

#include "app/FrameCap.h"

namespace {

using namespace std::chrono_literals;

// Deadlines keep whole periods (no drift from late wake-ups, short hitches made up); a run
// far behind starts over from now rather than drawing a long burst to catch up.
TEST(FrameCap, DeadlinesKeepTheRhythm) {
    FrameCap::Clock::time_point start{};
    auto period = 20ms;
    EXPECT_EQ(FrameCap::nextDeadline(start, start + 5ms, period), start + 20ms);
    EXPECT_EQ(FrameCap::nextDeadline(start, start + 25ms, period), start + 20ms);
    EXPECT_EQ(FrameCap::nextDeadline(start, start + 39ms, period), start + 20ms);
    EXPECT_EQ(FrameCap::nextDeadline(start, start + 110ms, period), start + 20ms);
    EXPECT_EQ(FrameCap::nextDeadline(start, start + 150ms, period), start + 150ms);
    EXPECT_EQ(FrameCap::nextDeadline(start, start + 1500ms, 1000ms), start + 1000ms);
    EXPECT_EQ(FrameCap::nextDeadline(start, start + 2500ms, 1000ms), start + 2500ms);
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
