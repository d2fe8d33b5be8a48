#include "music/MusicMixer.h"

#include <cmath>
#include <cstdio>

double musicGainForVolume(int volume)
{
    if (volume <= 0)
        return 0.0;
    if (volume > 100)
        volume = 100;
    const double db = kMusicFloorDb * (100 - volume) / 99.0;
    return std::pow(10.0, db / 20.0);
}

void MusicMixer::setOutputRate(int rate)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (rate > 0)
        outputRate_ = rate;
}

void MusicMixer::setStreamVolume(int volume)
{
    const double gain = musicGainForVolume(volume);
    std::lock_guard<std::mutex> guard(lock_);
    gainQ16_ = static_cast<std::int32_t>(std::lround(gain * 65536.0));
}

int MusicMixer::openStream(const std::uint8_t* data, std::uint32_t size, int* result)
{
    std::lock_guard<std::mutex> guard(lock_);
    for (int i = 0; i < kMaxStreams; ++i) {
        Slot& slot = slots_[i];
        if (slot.open)
            continue;
        const int code = slot.stream.open(data, size, outputRate_);
        if (result != nullptr)
            *result = code;
        if (code != 0)
            return 0;
        slot.open = true;
        slot.playing = false;
        // A stream cut short is told about at open; its end need not be told again.
        slot.reported = slot.stream.truncated();
        return i + 1;
    }
    if (result != nullptr)
        *result = kNoFreeStream;
    return 0;
}

bool MusicMixer::playStream(int handle, bool looping)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (handle < 1 || handle > kMaxStreams || !slots_[handle - 1].open)
        return false;
    Slot& slot = slots_[handle - 1];
    slot.stream.setLooping(looping);
    slot.playing = true;
    return true;
}

bool MusicMixer::isPlaying(int handle)
{
    std::lock_guard<std::mutex> guard(lock_);
    return handle >= 1 && handle <= kMaxStreams && slots_[handle - 1].playing;
}

bool MusicMixer::isTruncated(int handle)
{
    std::lock_guard<std::mutex> guard(lock_);
    return handle >= 1 && handle <= kMaxStreams && slots_[handle - 1].open && slots_[handle - 1].stream.truncated();
}

void MusicMixer::closeAll()
{
    std::lock_guard<std::mutex> guard(lock_);
    for (Slot& slot : slots_) {
        slot.stream.close();
        slot.open = false;
        slot.playing = false;
    }
}

void MusicMixer::mix(std::int16_t* out, int frames)
{
    std::lock_guard<std::mutex> guard(lock_);
    std::int32_t sum[kMixFrames * MusicStream::kChannels];
    while (frames > 0) {
        const int count = frames < kMixFrames ? frames : kMixFrames;
        const int samples = count * MusicStream::kChannels;
        for (int i = 0; i < samples; ++i)
            sum[i] = 0;
        for (Slot& slot : slots_) {
            if (slot.playing)
                mixSlot(slot, sum, count);
        }
        for (int i = 0; i < samples; ++i) {
            const std::int32_t value = sum[i];
            out[i] = static_cast<std::int16_t>(value > 32767 ? 32767 : value < -32768 ? -32768 : value);
        }
        out += samples;
        frames -= count;
    }
}

void MusicMixer::mixSlot(Slot& slot, std::int32_t* sum, int frames)
{
    std::int16_t decoded[kMixFrames * MusicStream::kChannels];
    const int got = slot.stream.read(decoded, frames);
    const std::int32_t gain = gainQ16_;
    for (int i = 0; i < got * MusicStream::kChannels; ++i)
        sum[i] += (decoded[i] * gain + 32768) >> 16;
    if (slot.stream.damaged() && !slot.reported) {
        slot.reported = true;
        std::fprintf(stderr, "music: damaged data in the stream; playing around it\n");
    }
    if (slot.stream.finished())
        slot.playing = false;
}
