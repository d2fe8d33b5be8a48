#include <gtest/gtest.h>

#include "app/FrameTimer.h"

namespace {

std::int64_t fakeNow = 0;
std::int64_t fakeCounter() { return fakeNow; }

class FrameTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        setCounterSource(fakeCounter, 1000);
        ASSERT_TRUE(queryFrequency());
    }
    void TearDown() override {
        setCounterSource(nullptr, 0);
        queryFrequency();
    }
};

TEST_F(FrameTimerTest, ElapsedGrowsFromOneStart) {
    FrameTimer timer;
    fakeNow = 5000;
    timer.start();
    EXPECT_EQ(timer.startCount(), 5000);
    fakeNow = 5250;
    EXPECT_DOUBLE_EQ(timer.elapsedSeconds(), 0.25);
    fakeNow = 6000;
    EXPECT_DOUBLE_EQ(timer.elapsedSeconds(), 1.0);  // no restart in between
    EXPECT_DOUBLE_EQ(timer.elapsed(), 1.0);
    timer.start();
    EXPECT_DOUBLE_EQ(timer.elapsedSeconds(), 0.0);
    // Large counter values (days of uptime at a nanosecond rate) keep their differences.
    setCounterSource(fakeCounter, 1000000000);
    queryFrequency();
    fakeNow = 400000000000000;
    timer.start();
    fakeNow += 16666667;
    EXPECT_NEAR(timer.elapsedSeconds(), 0.016666667, 1e-9);
}

TEST(FrameTimerReal, PlatformCounterIsMonotonic) {
    setCounterSource(nullptr, 0);
    ASSERT_TRUE(queryFrequency());
    EXPECT_GT(secondsPerTick, 0);
    FrameTimer timer;
    timer.start();
    double last = 0;
    for (int i = 0; i < 1000; ++i) {
        double now = timer.elapsedSeconds();
        EXPECT_GE(now, last);
        last = now;
    }
}

}  // namespace
