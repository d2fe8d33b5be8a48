#include "music/MusicStream.h"

#include "music/MusicTestOgg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr int kRate = 44100;

// Reads `frames` stereo frames in uneven chunks, as an audio callback would.
std::vector<std::int16_t> readFrames(MusicStream& stream, int frames, int chunk = 333)
{
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
    int done = 0;
    while (done < frames) {
        const int want = frames - done < chunk ? frames - done : chunk;
        const int got = stream.read(out.data() + done * 2, want);
        done += got;
        if (got < want)
            break;
    }
    out.resize(static_cast<std::size_t>(done) * 2);
    return out;
}

std::vector<std::int16_t> readAll(MusicStream& stream)
{
    std::vector<std::int16_t> out;
    std::int16_t chunk[777 * 2];
    for (int guard = 0; guard < 100000; ++guard) {
        const int got = stream.read(chunk, 777);
        out.insert(out.end(), chunk, chunk + got * 2);
        if (got < 777)
            break;
    }
    return out;
}

}  // namespace

TEST(MusicStream, DecodesExactlyWhatVorbisfileDecodes)
{
    const std::vector<std::uint8_t> stereo = encodeSineOgg(kRate, 2, 1.0, 441.0);
    ASSERT_FALSE(stereo.empty());
    const std::vector<std::int16_t> expected = referenceDecode(stereo);
    ASSERT_GT(expected.size(), 80000u);

    MusicStream stream;
    ASSERT_EQ(stream.open(stereo.data(), static_cast<std::uint32_t>(stereo.size()), kRate), 0);
    EXPECT_FALSE(stream.truncated());
    EXPECT_EQ(stream.sourceRate(), kRate);
    const std::vector<std::int16_t> decoded = readAll(stream);
    EXPECT_TRUE(stream.finished());
    EXPECT_FALSE(stream.damaged());
    EXPECT_EQ(decoded, expected);
    std::int16_t more[8];
    EXPECT_EQ(stream.read(more, 4), 0);

    // A mono stream comes out on both sides.
    const std::vector<std::uint8_t> mono = encodeSineOgg(kRate, 1, 0.5, 300.0);
    const std::vector<std::int16_t> monoExpected = referenceDecode(mono);
    ASSERT_EQ(stream.open(mono.data(), static_cast<std::uint32_t>(mono.size()), kRate), 0);
    const std::vector<std::int16_t> monoDecoded = readAll(stream);
    ASSERT_EQ(monoDecoded.size(), monoExpected.size() * 2);
    for (std::size_t i = 0; i < monoExpected.size(); ++i) {
        ASSERT_EQ(monoDecoded[i * 2], monoExpected[i]) << "frame " << i;
        ASSERT_EQ(monoDecoded[i * 2 + 1], monoExpected[i]) << "frame " << i;
    }
}

TEST(MusicStream, LoopsWithoutAGapAtTheSeam)
{
    // 441 whole cycles in one second: the signal itself is continuous across the seam.
    const std::vector<std::uint8_t> ogg = encodeSineOgg(kRate, 2, 1.0, 441.0);
    const std::vector<std::int16_t> once = referenceDecode(ogg);
    const std::size_t frames = once.size() / 2;
    ASSERT_GT(frames, 0u);

    MusicStream stream;
    ASSERT_EQ(stream.open(ogg.data(), static_cast<std::uint32_t>(ogg.size()), kRate), 0);
    stream.setLooping(true);
    const int wanted = static_cast<int>(frames * 5 / 2);
    const std::vector<std::int16_t> played = readFrames(stream, wanted);
    ASSERT_EQ(played.size(), static_cast<std::size_t>(wanted) * 2);
    EXPECT_FALSE(stream.finished());
    for (std::size_t i = 0; i < played.size(); ++i)
        ASSERT_EQ(played[i], once[i % once.size()]) << "sample " << i;

    // No step at the seam larger than the biggest step inside the file.
    int largestStep = 0;
    for (std::size_t i = 2; i < once.size(); i += 2)
        largestStep = std::max(largestStep, std::abs(once[i] - once[i - 2]));
    const std::size_t seam = frames * 2;
    EXPECT_LE(std::abs(played[seam] - played[seam - 2]), largestStep);
}

TEST(MusicStream, RefusesEmptyAndForeignData)
{
    MusicStream stream;
    EXPECT_LT(stream.open(nullptr, 0, kRate), 0);
    const std::uint8_t byte = 0;
    EXPECT_LT(stream.open(&byte, 0, kRate), 0);
    EXPECT_FALSE(stream.isOpen());
    std::int16_t out[64];
    EXPECT_EQ(stream.read(out, 32), 0);

    std::vector<std::uint8_t> noise(20000);
    std::srand(7);
    for (std::uint8_t& b : noise)
        b = static_cast<std::uint8_t>(std::rand());
    EXPECT_LT(stream.open(noise.data(), static_cast<std::uint32_t>(noise.size()), kRate), 0);

    // Cut inside the header pages.
    const std::vector<std::uint8_t> ogg = encodeSineOgg(kRate, 2, 0.5, 441.0);
    EXPECT_LT(stream.open(ogg.data(), 100, kRate), 0);
    EXPECT_FALSE(stream.isOpen());
}

TEST(MusicStream, PlaysWhatThereIsOfCutOrDamagedData)
{
    const std::vector<std::uint8_t> ogg = encodeSineOgg(kRate, 2, 2.0, 441.0, 0.1);
    const std::vector<std::int16_t> full = referenceDecode(ogg);

    // Cut in the middle of a page: what decodes is the start of the full decode.
    const std::uint32_t cut = static_cast<std::uint32_t>(ogg.size() * 6 / 10 + 3);
    MusicStream stream;
    ASSERT_EQ(stream.open(ogg.data(), cut, kRate), 0);
    EXPECT_TRUE(stream.truncated());
    const std::vector<std::int16_t> partial = readAll(stream);
    EXPECT_TRUE(stream.finished());
    ASSERT_GT(partial.size(), full.size() / 4);
    ASSERT_LT(partial.size(), full.size());
    EXPECT_TRUE(std::equal(partial.begin(), partial.end(), full.begin()));

    // Looping over the cut data keeps playing.
    ASSERT_EQ(stream.open(ogg.data(), cut, kRate), 0);
    stream.setLooping(true);
    const int frames = static_cast<int>(partial.size());  // two passes' worth
    EXPECT_EQ(readFrames(stream, frames).size(), static_cast<std::size_t>(frames) * 2);

    // Scrambled bytes in the middle: playback goes on around them and ends.
    std::vector<std::uint8_t> damaged = ogg;
    for (std::size_t i = damaged.size() / 2; i < damaged.size() / 2 + 600; ++i)
        damaged[i] ^= 0x5a;
    ASSERT_EQ(stream.open(damaged.data(), static_cast<std::uint32_t>(damaged.size()), kRate), 0);
    const std::vector<std::int16_t> around = readAll(stream);
    EXPECT_TRUE(stream.finished());
    EXPECT_TRUE(stream.damaged());
    EXPECT_GT(around.size(), full.size() / 4);

    // Looping over damaged data plays the good parts again and again.
    ASSERT_EQ(stream.open(damaged.data(), static_cast<std::uint32_t>(damaged.size()), kRate), 0);
    stream.setLooping(true);
    const int threePasses = static_cast<int>(around.size() / 2 * 3);
    const std::vector<std::int16_t> looped = readFrames(stream, threePasses);
    EXPECT_EQ(looped.size(), around.size() * 3);
    EXPECT_TRUE(std::equal(around.begin(), around.end(), looped.begin() + static_cast<std::ptrdiff_t>(around.size())));
}

TEST(MusicStream, LoopingStreamWithoutSoundEnds)
{
    // Headers and an end page, no samples: looping must not spin.
    const std::vector<std::uint8_t> silent = encodeSineOgg(kRate, 2, 0.0, 441.0);
    MusicStream stream;
    ASSERT_EQ(stream.open(silent.data(), static_cast<std::uint32_t>(silent.size()), kRate), 0);
    stream.setLooping(true);
    std::int16_t out[512 * 2];
    EXPECT_EQ(stream.read(out, 512), 0);
    EXPECT_TRUE(stream.finished());
}

TEST(MusicStream, ResamplesOtherRatesToTheOutputRate)
{
    const std::vector<std::uint8_t> ogg = encodeSineOgg(22050, 1, 1.0, 441.0);
    const std::vector<std::int16_t> source = referenceDecode(ogg);
    MusicStream stream;
    ASSERT_EQ(stream.open(ogg.data(), static_cast<std::uint32_t>(ogg.size()), kRate), 0);
    EXPECT_EQ(stream.sourceRate(), 22050);
    const std::vector<std::int16_t> out = readAll(stream);
    const std::size_t frames = out.size() / 2;
    EXPECT_NEAR(static_cast<double>(frames), source.size() * 2.0, 4.0);

    // Even output frames fall on source frames; odd ones halfway between two.
    for (std::size_t i = 0; i + 1 < source.size() && i * 2 + 1 < frames; ++i) {
        ASSERT_EQ(out[i * 4], source[i]) << "frame " << i * 2;
        ASSERT_EQ(out[i * 4 + 1], source[i]);
        ASSERT_NEAR(out[i * 4 + 2], (source[i] + source[i + 1]) / 2.0, 0.5001) << "frame " << i * 2 + 1;
    }
}
