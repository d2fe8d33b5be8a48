#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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

// A stop that comes in the middle of a long wait ends it within a sleep slice, not at
// the frame's deadline a second later.
TEST(FrameCap, StopDuringTheWaitEndsIt) {
    static std::atomic<bool> stop{false};
    FrameCap cap(1);
    cap.wait(nullptr);
    auto start = FrameCap::Clock::now();
    FrameCap::Clock::time_point raised;
    std::thread raiser([&raised] {
        std::this_thread::sleep_for(250ms);
        raised = FrameCap::Clock::now();
        stop = true;
    });
    cap.wait([] { return stop.load(); });
    auto ended = FrameCap::Clock::now();
    raiser.join();
    if (raised - start > 600ms) GTEST_SKIP() << "the machine is too busy to raise the stop in time";
    EXPECT_LT(ended - raised, 400ms);
}

}  // namespace
