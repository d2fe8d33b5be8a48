// SDL2 backend of AudioOutput.
#include "platform/AudioOutput.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace {

// The sound libraries under SDL (ALSA above all) write screenfuls of their own to stderr
// when there is no sound device, as on servers and under a screensaver daemon. While
// the device is looked for they write to /dev/null; the caller says in one line whether
// music plays.
class QuietStderr {
public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        int sink = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && sink >= 0) dup2(sink, STDERR_FILENO);
        if (sink >= 0) close(sink);
    }
    ~QuietStderr() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;
};

// SDL calls back with a byte count; hand the pull callback whole frames.
void SDLCALL sdlPull(void* userdata, Uint8* stream, int length)
{
    const auto* target = static_cast<const platform::AudioOutput::PullTarget*>(userdata);
    const int frameBytes = target->channels * static_cast<int>(sizeof(std::int16_t));
    target->pull(target->context, reinterpret_cast<std::int16_t*>(stream), length / frameBytes);
}

}  // namespace

namespace platform {

struct AudioOutput::Device {
    SDL_AudioDeviceID id = 0;
};

AudioOutput::~AudioOutput()
{
    close();
}

bool AudioOutput::open(int sampleRate, int channels, AudioPullCallback pull, void* context)
{
    close();
    error_[0] = '\0';
    if (pull == nullptr || sampleRate <= 0 || channels < 1 || channels > 8) {
        std::snprintf(error_, sizeof error_, "invalid audio format");
        return false;
    }
    QuietStderr quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::snprintf(error_, sizeof error_, "no audio: %s", SDL_GetError());
        return false;
    }
    subsystemStarted_ = true;

    target_ = PullTarget{pull, context, channels};
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = sampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(channels);
    wanted.samples = 2048;  // about 46 ms at 44100 Hz: small enough to stop promptly
    wanted.callback = sdlPull;
    wanted.userdata = &target_;
    SDL_AudioSpec obtained;
    // No allowed changes: SDL converts our format to the device's.
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (id == 0) {
        std::snprintf(error_, sizeof error_, "no audio device: %s", SDL_GetError());
        close();
        return false;
    }
    device_ = new Device{id};
    return true;
}

void AudioOutput::setPlaying(bool playing)
{
    if (device_ != nullptr)
        SDL_PauseAudioDevice(device_->id, playing ? 0 : 1);
}

void AudioOutput::close()
{
    if (device_ != nullptr) {
        // Waits for a running callback to return and stops the audio thread.
        SDL_CloseAudioDevice(device_->id);
        delete device_;
        device_ = nullptr;
    }
    if (subsystemStarted_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted_ = false;
    }
}

}  // namespace platform
