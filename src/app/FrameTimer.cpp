#include "app/FrameTimer.h"

#include "platform/Platform.h"

double secondsPerTick = 0;
FrameTimer frameTimer;
FrameTimer rateTimer;

namespace {

CounterSource counterSource = platform::readCounter;
std::int64_t sourceFrequency = 0;  // 0: ask the platform

}  // namespace

void setCounterSource(CounterSource source, std::int64_t ticksPerSecond) {
    counterSource = source ? source : platform::readCounter;
    sourceFrequency = source ? ticksPerSecond : 0;
}

bool queryFrequency() {
    std::int64_t frequency = sourceFrequency != 0 ? sourceFrequency : platform::counterFrequency();
    if (frequency <= 0) return false;
    secondsPerTick = 1.0 / static_cast<double>(frequency);
    return true;
}

std::int64_t readCounter() { return counterSource(); }

double FrameTimer::elapsedSeconds() {
    std::int64_t now = readCounter();
    elapsed_ = (static_cast<double>(now) - static_cast<double>(startCount_)) * secondsPerTick;
    return elapsed_;
}
