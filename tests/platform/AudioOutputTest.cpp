#include "platform/AudioOutput.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

struct PullCounter {
    int channels = 2;
    std::atomic<long> frames{0};
    std::atomic<int> calls{0};
};

void countPull(void* context, std::int16_t* samples, int frames)
{
    auto* counter = static_cast<PullCounter*>(context);
    for (int i = 0; i < frames * counter->channels; ++i)
        samples[i] = 0;
    counter->frames += frames;
    ++counter->calls;
}

// Waits, within a generous bound, for the audio thread to pull at least once.
bool waitForPull(const PullCounter& counter)
{
    for (int i = 0; i < 500 && counter.calls == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return counter.calls > 0;
}

class ScopedAudioDriver {
public:
    explicit ScopedAudioDriver(const char* name)
    {
        if (const char* old = std::getenv("SDL_AUDIODRIVER"))
            old_ = old;
        setenv("SDL_AUDIODRIVER", name, 1);
    }
    ~ScopedAudioDriver()
    {
        if (old_.empty())
            unsetenv("SDL_AUDIODRIVER");
        else
            setenv("SDL_AUDIODRIVER", old_.c_str(), 1);
    }

private:
    std::string old_;
};

}  // namespace

TEST(AudioOutput, PullsWhilePlayingAndNeverAfterClose)
{
    ScopedAudioDriver driver("dummy");
    PullCounter counter;
    platform::AudioOutput output;
    ASSERT_TRUE(output.open(44100, 2, countPull, &counter)) << output.lastError();
    EXPECT_TRUE(output.isOpen());
    // Opened paused: nothing is pulled until playing.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(counter.calls, 0);

    output.setPlaying(true);
    ASSERT_TRUE(waitForPull(counter));
    output.close();
    EXPECT_FALSE(output.isOpen());
    const int callsAtClose = counter.calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(counter.calls, callsAtClose);
    // Closing again, or playing a closed output, is harmless.
    output.close();
    output.setPlaying(true);

    // The output opens again after a close.
    PullCounter second;
    second.channels = 1;
    ASSERT_TRUE(output.open(22050, 1, countPull, &second)) << output.lastError();
    output.setPlaying(true);
    EXPECT_TRUE(waitForPull(second));
}

TEST(AudioOutput, ReportsWhyItCannotOpen)
{
    PullCounter counter;
    platform::AudioOutput output;
    EXPECT_FALSE(output.open(44100, 2, nullptr, &counter));
    EXPECT_FALSE(output.open(0, 2, countPull, &counter));
    EXPECT_FALSE(output.open(44100, 0, countPull, &counter));
    EXPECT_STRNE(output.lastError(), "");

    ScopedAudioDriver driver("no-such-driver");
    EXPECT_FALSE(output.open(44100, 2, countPull, &counter));
    EXPECT_FALSE(output.isOpen());
    EXPECT_STRNE(output.lastError(), "");
}
