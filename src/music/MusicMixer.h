// Mixes the playing music streams into the output's stereo frames, at the stream
// volume. Shared between the caller's thread (open, play, volume) and the audio
// thread (mix); every operation takes the mixer's lock.
#pragma once

#include "music/MusicStream.h"

#include <cstdint>
#include <mutex>

// Volume 1..100 to a linear gain on an even decibel scale: 100 is full level, each
// step down lowers the level by the same number of decibels, 1 is kMusicFloorDb.
// Values outside the range are clamped; 0 and below are silent.
constexpr double kMusicFloorDb = -40.0;
double musicGainForVolume(int volume);

class MusicMixer {
public:
    static constexpr int kMaxStreams = 4;
    static constexpr int kNoFreeStream = 1;  // openStream's result when every slot is taken

    MusicMixer() = default;
    MusicMixer(const MusicMixer&) = delete;
    MusicMixer& operator=(const MusicMixer&) = delete;

    void setOutputRate(int rate);
    void setStreamVolume(int volume);

    // Opens a stream over a buffer that stays valid until the stream is closed.
    // Returns its handle (1..kMaxStreams), or 0 when the data cannot be played;
    // `result` receives the decoder's code.
    int openStream(const std::uint8_t* data, std::uint32_t size, int* result);
    // Starts a stream; false for an unknown handle.
    bool playStream(int handle, bool looping);
    bool isPlaying(int handle);
    bool isTruncated(int handle);
    void closeAll();

    // The audio thread's work: fills `frames` stereo frames.
    void mix(std::int16_t* out, int frames);

private:
    static constexpr int kMixFrames = 512;

    struct Slot {
        MusicStream stream;
        bool open = false;
        bool playing = false;
        bool reported = false;  // a problem with this stream has been told once
    };

    void mixSlot(Slot& slot, std::int32_t* sum, int frames);

    std::mutex lock_;
    Slot slots_[kMaxStreams];
    int outputRate_ = 44100;
    std::int32_t gainQ16_ = 65536;  // stream volume as a 16.16 fixed-point factor
};
