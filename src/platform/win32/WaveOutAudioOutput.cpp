// waveOut backend of AudioOutput: a feeder thread keeps a few buffers queued on the
// default device, filling each one from the pull callback as the device hands it back.
#include <windows.h>

// mmsystem.h still spells pointers with 16-bit Windows' far, which the build's
// OpenGlHeaders.h takes away from everything else.
#define far
#define near
#include <mmsystem.h>
#undef far
#undef near

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/AudioOutput.h"
#include "platform/win32/QuietRuns.h"

namespace platform {

namespace {

constexpr int kBuffers = 4;
constexpr int kBufferFrames = 2048;  // about 46 ms at 44100 Hz: stops promptly, rarely starves

}  // namespace

struct AudioOutput::Device {
    HWAVEOUT wave = nullptr;
    HANDLE bufferDone = nullptr;  // signalled by the driver whenever a buffer comes back
    WAVEHDR headers[kBuffers] = {};
    std::vector<std::int16_t> samples[kBuffers];
    std::atomic<bool> playing{false};
    std::atomic<bool> stopping{false};
    std::thread feeder;
    const PullTarget* target = nullptr;

    // Refills and queues every buffer the device is not holding.
    void queueFreeBuffers() {
        for (WAVEHDR& header : headers) {
            if ((header.dwFlags & WHDR_INQUEUE) != 0) continue;
            auto* out = reinterpret_cast<std::int16_t*>(header.lpData);
            target->pull(target->context, out, kBufferFrames);
            header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
            waveOutWrite(wave, &header, sizeof header);
        }
    }

    void feed() {
        while (!stopping.load()) {
            WaitForSingleObject(bufferDone, 100);
            if (playing.load() && !stopping.load()) queueFreeBuffers();
        }
    }
};

AudioOutput::~AudioOutput() { close(); }

bool AudioOutput::open(int sampleRate, int channels, AudioPullCallback pull, void* context) {
    close();
    error_[0] = '\0';
    if (pull == nullptr || sampleRate <= 0 || channels < 1 || channels > 8) {
        std::snprintf(error_, sizeof error_, "invalid audio format");
        return false;
    }
    if (previewKeptQuiet()) {
        std::snprintf(error_, sizeof error_, "the preview plays no music");
        return false;
    }
    target_ = PullTarget{pull, context, channels};

    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = static_cast<DWORD>(sampleRate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(channels * 2);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;

    auto* device = new Device;
    device->target = &target_;
    device->bufferDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    MMRESULT result = waveOutOpen(&device->wave, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(device->bufferDone),
                                  0, CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        std::snprintf(error_, sizeof error_, "no audio device (waveOut error %u)", static_cast<unsigned>(result));
        CloseHandle(device->bufferDone);
        delete device;
        return false;
    }
    // Said once a run, so a log (and the tests) can tell whether a device was taken.
    std::fprintf(stderr, "audio: waveOut device open, %d Hz, %d channels\n", sampleRate, channels);
    // Opened paused: nothing is pulled before setPlaying(true).
    waveOutPause(device->wave);
    for (int i = 0; i < kBuffers; ++i) {
        device->samples[i].assign(static_cast<std::size_t>(kBufferFrames) * channels, 0);
        WAVEHDR& header = device->headers[i];
        header.lpData = reinterpret_cast<LPSTR>(device->samples[i].data());
        header.dwBufferLength = static_cast<DWORD>(device->samples[i].size() * sizeof(std::int16_t));
        waveOutPrepareHeader(device->wave, &header, sizeof header);
    }
    device->feeder = std::thread([device] { device->feed(); });
    device_ = device;
    return true;
}

void AudioOutput::setPlaying(bool playing) {
    if (device_ == nullptr) return;
    device_->playing.store(playing);
    if (playing) {
        waveOutRestart(device_->wave);
        SetEvent(device_->bufferDone);
    } else {
        waveOutPause(device_->wave);
    }
}

void AudioOutput::close() {
    if (device_ == nullptr) return;
    // The feeder stops first, so the callback is not running once the device goes.
    device_->stopping.store(true);
    SetEvent(device_->bufferDone);
    if (device_->feeder.joinable()) device_->feeder.join();
    waveOutReset(device_->wave);
    for (WAVEHDR& header : device_->headers) waveOutUnprepareHeader(device_->wave, &header, sizeof header);
    waveOutClose(device_->wave);
    CloseHandle(device_->bufferDone);
    delete device_;
    device_ = nullptr;
}

}  // namespace platform
