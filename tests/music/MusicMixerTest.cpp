#include "music/MusicMixer.h"

#include "music/MusicTestOgg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

TEST(MusicVolume, EvenDecibelStepsFromFloorToFullLevel)
{
    EXPECT_DOUBLE_EQ(musicGainForVolume(100), 1.0);
    EXPECT_NEAR(20.0 * std::log10(musicGainForVolume(1)), kMusicFloorDb, 1e-9);
    const double step = 20.0 * std::log10(musicGainForVolume(2) / musicGainForVolume(1));
    EXPECT_GT(step, 0.0);
    for (int volume = 1; volume < 100; ++volume) {
        const double db = 20.0 * std::log10(musicGainForVolume(volume + 1) / musicGainForVolume(volume));
        ASSERT_NEAR(db, step, 1e-9) << "volume " << volume;
    }
    EXPECT_DOUBLE_EQ(musicGainForVolume(250), 1.0);
    EXPECT_EQ(musicGainForVolume(0), 0.0);
    EXPECT_EQ(musicGainForVolume(-3), 0.0);
}

TEST(MusicMixer, MixesThePlayingStreamAtTheStreamVolume)
{
    const std::vector<std::uint8_t> ogg = encodeSineOgg(44100, 2, 0.5, 441.0);
    const std::vector<std::int16_t> expected = referenceDecode(ogg);
    const int frames = 4000;
    ASSERT_GE(expected.size(), static_cast<std::size_t>(frames) * 2);

    MusicMixer mixer;
    int result = -1;
    const int handle = mixer.openStream(ogg.data(), static_cast<std::uint32_t>(ogg.size()), &result);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(result, 0);

    // Opened but not playing: silence, and the stream does not advance.
    std::vector<std::int16_t> out(frames * 2, 1);
    mixer.mix(out.data(), 100);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(out[i], 0);

    EXPECT_FALSE(mixer.playStream(handle + 1, true));
    ASSERT_TRUE(mixer.playStream(handle, false));
    mixer.mix(out.data(), frames);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), expected.begin()));

    // Volume 50: every sample scaled by its gain, within rounding.
    mixer.setStreamVolume(50);
    const double gain = musicGainForVolume(50);
    mixer.mix(out.data(), frames);
    for (int i = 0; i < frames * 2; ++i)
        ASSERT_NEAR(out[i], expected[frames * 2 + i] * gain, 1.0) << "sample " << i;
}

TEST(MusicMixer, StreamThatEndsFallsSilent)
{
    const std::vector<std::uint8_t> ogg = encodeSineOgg(44100, 2, 0.1, 441.0);
    const std::size_t total = referenceDecode(ogg).size() / 2;
    MusicMixer mixer;
    const int handle = mixer.openStream(ogg.data(), static_cast<std::uint32_t>(ogg.size()), nullptr);
    ASSERT_TRUE(mixer.playStream(handle, false));
    std::vector<std::int16_t> out((total + 1000) * 2, 7);
    mixer.mix(out.data(), static_cast<int>(total + 1000));
    EXPECT_FALSE(mixer.isPlaying(handle));
    for (std::size_t i = total * 2; i < out.size(); ++i)
        ASSERT_EQ(out[i], 0) << "sample " << i;

    // Foreign data gets no handle and tells why.
    const std::uint8_t junk[64] = {1, 2, 3};
    int result = 0;
    EXPECT_EQ(mixer.openStream(junk, sizeof junk, &result), 0);
    EXPECT_LT(result, 0);

    // Every slot taken: no handle, and a result that says so.
    mixer.closeAll();
    for (int i = 0; i < MusicMixer::kMaxStreams; ++i)
        ASSERT_NE(mixer.openStream(ogg.data(), static_cast<std::uint32_t>(ogg.size()), nullptr), 0);
    EXPECT_EQ(mixer.openStream(ogg.data(), static_cast<std::uint32_t>(ogg.size()), &result), 0);
    EXPECT_EQ(result, MusicMixer::kNoFreeStream);
}
