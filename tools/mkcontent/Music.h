// The show's ambient score: slow pad chords over a bass drone with a few bell notes, a
// little reverb, rendered as a seamless loop and encoded as Ogg Vorbis.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct MusicParams {
    int sampleRate = 44100;
    double secondsPerChord = 6.0;
    int cycles = 4;             // times round an eight-chord progression (A A B B A A B B ...)
    uint64_t seed = 7;
    float quality = 0.15f;      // libvorbis VBR quality, -0.1 .. 1
    double reverbSeconds = 8.0; // length of the tail folded back onto the start
};

// Length of the loop in frames.
int64_t musicFrames(const MusicParams& params);

// Interleaved stereo samples in [-1, 1], musicFrames long. The tail that rings past the end
// is added onto the beginning, so playing the result in a loop has no seam.
std::vector<float> renderMusic(const MusicParams& params);

// Encodes interleaved stereo samples as an Ogg Vorbis stream (fixed serial number, so the
// same samples always give the same bytes). Empty with error set on failure.
std::vector<uint8_t> encodeOggVorbis(const std::vector<float>& stereo, int sampleRate, float quality,
                                     std::string& error);
