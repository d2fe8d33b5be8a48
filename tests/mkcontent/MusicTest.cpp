// The score: renders to the announced length, loops without a jump, and the Ogg stream
// decodes back to exactly that many frames.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vorbis/vorbisfile.h>

#include "mkcontent/Music.h"

namespace {

struct MemoryFile {
    const std::vector<uint8_t>* bytes;
    size_t position = 0;
};

size_t readMemory(void* out, size_t size, size_t count, void* source) {
    auto* file = static_cast<MemoryFile*>(source);
    size_t left = file->bytes->size() - file->position;
    size_t n = std::min(size * count, left);
    std::memcpy(out, file->bytes->data() + file->position, n);
    file->position += n;
    return size ? n / size : 0;
}

int seekMemory(void* source, ogg_int64_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(source);
    long long base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? (long long)file->position : (long long)file->bytes->size();
    long long to = base + offset;
    if (to < 0 || to > (long long)file->bytes->size()) return -1;
    file->position = size_t(to);
    return 0;
}

long tellMemory(void* source) { return long(static_cast<MemoryFile*>(source)->position); }

MusicParams shortScore() {
    MusicParams p;
    p.secondsPerChord = 0.5;
    p.cycles = 1;
    p.reverbSeconds = 1.0;
    return p;
}

}  // namespace

TEST(Music, LoopHasTheAnnouncedLengthAndNoJumpAtTheSeam) {
    // one cycle loops on the first progression; three end on the second, which leads back
    // (rendered at a lower rate to keep the test quick)
    for (int cycles : {1, 3}) {
        SCOPED_TRACE(std::to_string(cycles) + " cycles");
        MusicParams p = shortScore();
        p.cycles = cycles;
        if (cycles > 1) p.sampleRate = 16000;
        std::vector<float> samples = renderMusic(p);
        ASSERT_EQ(int64_t(samples.size()), musicFrames(p) * 2);
        EXPECT_EQ(musicFrames(p), cycles * 4 * p.sampleRate);
        float peak = 0, largestStep = 0;
        for (size_t i = 0; i < samples.size(); ++i) {
            peak = std::max(peak, std::fabs(samples[i]));
            if (i >= 2) largestStep = std::max(largestStep, std::fabs(samples[i] - samples[i - 2]));
        }
        EXPECT_LE(peak, 1.0f);
        EXPECT_GT(peak, 0.3f) << "the score should not be near silence";
        // across the loop point (last frame to first) the wave moves no more than it does anywhere else
        for (int channel = 0; channel < 2; ++channel) {
            float seam = std::fabs(samples[channel] - samples[samples.size() - 2 + channel]);
            EXPECT_LE(seam, largestStep) << "channel " << channel;
        }
        EXPECT_EQ(samples, renderMusic(p)) << "the same parameters give the same score";
    }
}

TEST(Music, OggDecodesToTheSameNumberOfFrames) {
    MusicParams p = shortScore();
    std::vector<float> samples = renderMusic(p);
    std::string error;
    std::vector<uint8_t> ogg = encodeOggVorbis(samples, p.sampleRate, p.quality, error);
    ASSERT_FALSE(ogg.empty()) << error;
    EXPECT_EQ(std::memcmp(ogg.data(), "OggS", 4), 0);
    EXPECT_EQ(ogg, encodeOggVorbis(samples, p.sampleRate, p.quality, error)) << "encoding is reproducible";

    MemoryFile file{&ogg};
    OggVorbis_File vf;
    ov_callbacks callbacks{readMemory, seekMemory, nullptr, tellMemory};
    ASSERT_EQ(ov_open_callbacks(&file, &vf, nullptr, 0, callbacks), 0);
    vorbis_info* info = ov_info(&vf, -1);
    EXPECT_EQ(info->channels, 2);
    EXPECT_EQ(info->rate, 44100);
    EXPECT_EQ(ov_pcm_total(&vf, -1), musicFrames(p));
    // decoding the whole stream gives that many frames too, and something audible
    long frames = 0;
    float loudest = 0;
    for (;;) {
        float** pcm;
        int section;
        long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n <= 0) break;
        for (long i = 0; i < n; ++i) loudest = std::max(loudest, std::fabs(pcm[0][i]));
        frames += n;
    }
    EXPECT_EQ(frames, musicFrames(p));
    EXPECT_GT(loudest, 0.2f);
    ov_clear(&vf);
}
