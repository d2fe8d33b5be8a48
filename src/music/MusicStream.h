// An Ogg Vorbis stream decoded straight out of a memory buffer (no copy), delivered
// as interleaved stereo 16-bit frames at the mixer's rate. When looping, the end of
// the data runs into its start without a gap: the frames across the seam are the
// last and first frames of the file, back to back.
#pragma once

#include <cstdint>

struct OggVorbis_File;

class MusicStream {
public:
    static constexpr int kChannels = 2;

    MusicStream() = default;
    ~MusicStream();
    MusicStream(const MusicStream&) = delete;
    MusicStream& operator=(const MusicStream&) = delete;

    // Opens the stream over `size` bytes at `data`; the bytes must stay valid and
    // unchanged until close(). Returns 0, or a negative libvorbisfile code (an empty
    // buffer gives the "not Vorbis" code).
    int open(const std::uint8_t* data, std::uint32_t size, int outputRate);
    void close();

    // Off after every open.
    void setLooping(bool looping) { looping_ = looping; }
    bool isOpen() const { return file_ != nullptr; }
    // True once the stream can give no more frames: its end without looping, or
    // data too damaged to play.
    bool finished() const { return exhausted_ && stagedTaken_ == stagedFrames_; }
    // True after the stream met damaged data (it plays on around it where it can).
    bool damaged() const { return damaged_; }
    // True when the data does not end with a whole final page: cut short.
    bool truncated() const { return truncated_; }
    int sourceRate() const { return sourceRate_; }

    // Writes up to `frames` stereo frames to `out`; returns how many were written,
    // fewer only when the stream has finished.
    int read(std::int16_t* out, int frames);

    // The decoder's read position in the caller's buffer.
    struct MemorySourceView {
        const std::uint8_t* data = nullptr;
        std::uint32_t size = 0;
        std::uint32_t position = 0;
    };

private:
    // One decode call asks for at most this many bytes; a mono link gives the most
    // frames per byte, which sizes the staging buffer.
    static constexpr int kDecodeBytes = 8192;
    static constexpr int kStagingFrames = kDecodeBytes / 2;

    void decodeChunk();
    bool refill();
    void stage(int bytes, int link);
    bool takeSourceFrame(std::int16_t frame[kChannels]);
    int copyFrames(std::int16_t* out, int frames);
    int resampleFrames(std::int16_t* out, int frames);

    OggVorbis_File* file_ = nullptr;
    MemorySourceView source_;
    int outputRate_ = 0;
    int sourceRate_ = 0;
    bool looping_ = false;
    bool exhausted_ = false;
    bool damaged_ = false;
    bool truncated_ = false;
    bool decodedSinceRewind_ = false;

    char decoded_[kDecodeBytes] = {};
    // Decoded stereo frames at the source rate, not yet delivered.
    std::int16_t staging_[kStagingFrames * kChannels] = {};
    int stagedFrames_ = 0;
    int stagedTaken_ = 0;

    // Linear resampling when the source rate differs from the output rate: the
    // output lies between `previous_` and `next_`, `phase_` of the way along.
    std::int16_t previous_[kChannels] = {};
    std::int16_t next_[kChannels] = {};
    double phase_ = 0.0;
    bool resamplerPrimed_ = false;
};
