// Sound output: one playback device fed by a pull callback on the audio thread.
// The callback fills interleaved signed 16-bit frames in the format asked for; the
// backend converts to whatever the hardware wants.
#pragma once

#include <cstdint>

namespace platform {

// Called on the audio thread; must fill all `frames` frames (channels × frames samples).
using AudioPullCallback = void (*)(void* context, std::int16_t* samples, int frames);

class AudioOutput {
public:
    AudioOutput() = default;
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens the default playback device, paused. False when there is no usable
    // device; lastError() then says why.
    bool open(int sampleRate, int channels, AudioPullCallback pull, void* context);
    // Starts or stops pulling. No effect on a closed output.
    void setPlaying(bool playing);
    // Stops the device; once it returns the callback is not running and never runs again.
    void close();

    bool isOpen() const { return device_ != nullptr; }
    const char* lastError() const { return error_; }

    // What the audio thread calls; the backend receives its address.
    struct PullTarget {
        AudioPullCallback pull = nullptr;
        void* context = nullptr;
        int channels = 0;
    };

    // The backend's open device; each backend defines it.
    struct Device;

private:
    static constexpr int kErrorCapacity = 160;

    PullTarget target_;
    Device* device_ = nullptr;
    bool subsystemStarted_ = false;
    char error_[kErrorCapacity] = {};
};

}  // namespace platform
