#include "music/MusicLibrary.h"

#include "music/MusicTestOgg.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

// Sets an environment variable for the object's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            hadOld_ = true;
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (hadOld_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    bool hadOld_ = false;
    std::string old_;
};

int lineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::uintmax_t fileSize(const std::string& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

int windowToken = 0;  // stands for the saver window

}  // namespace

TEST(MusicLibrary, PlaysTheStreamThroughTheAudioDevice)
{
    TempDir dir;
    const std::string rawFile = dir.file("out.raw");
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", rawFile);

    const std::vector<std::uint8_t> ogg = encodeSineOgg(44100, 2, 1.0, 441.0);
    const std::vector<std::int16_t> expected = referenceDecode(ogg);

    testing::internal::CaptureStderr();
    ASSERT_EQ(IMXInit(&windowToken, 44100, 0, -1), 1);
    EXPECT_EQ(IMXStart(), 1);
    EXPECT_EQ(IMXSetGlobalVolumes(100, 100, 100), 1);
    const int stream = IMXStreamOpenFile(1, ogg.data(), 0, static_cast<std::uint32_t>(ogg.size()), 0);
    ASSERT_NE(stream, 0);
    EXPECT_EQ(IMXStreamPlay(stream, 1), 1);
    // Let a few callbacks' worth reach the device file (bounded, for a loaded machine).
    for (int i = 0; i < 200 && fileSize(rawFile) < 65536; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    // Shut-down while the stream plays.
    EXPECT_EQ(IMXUninit(), 1);
    // (SDL's disk driver announces itself on stderr; the music says nothing.)
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("music:"), std::string::npos);

    // Silence until the stream started, then the decoded music itself.
    std::ifstream in(rawFile, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> written(bytes.size() / 2);
    std::memcpy(written.data(), bytes.data(), written.size() * 2);
    const auto probe = expected.begin() + 2000;
    const auto found = std::search(written.begin(), written.end(), probe, probe + 400);
    ASSERT_NE(found, written.end()) << "the music never reached the device";
    const auto start = found - 2000;
    ASSERT_GE(start, written.begin());
    const std::size_t heard = std::min<std::size_t>(written.end() - start, expected.size());
    ASSERT_GT(heard, 4000u);
    EXPECT_TRUE(std::equal(start, start + static_cast<std::ptrdiff_t>(heard), expected.begin()));

    // After shut-down every call is refused quietly.
    EXPECT_EQ(IMXStart(), 0);
    EXPECT_EQ(IMXStreamPlay(stream, 1), 0);
    EXPECT_EQ(IMXUninit(), 0);
}

TEST(MusicLibrary, BadMusicDataIsToldOnceAndTheRunGoesOn)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_EQ(IMXInit(&windowToken, 44100, 0, -1), 1);
    IMXStart();
    IMXSetGlobalVolumes(60, 60, 60);

    // The missing member: an empty buffer.
    testing::internal::CaptureStderr();
    EXPECT_EQ(IMXStreamOpenFile(1, nullptr, 0, 0, 0), 0);
    EXPECT_EQ(lineCount(testing::internal::GetCapturedStderr()), 1);

    const std::string notOgg = "This is certainly not an Ogg Vorbis file, just some text.";
    testing::internal::CaptureStderr();
    EXPECT_EQ(IMXStreamOpenFile(1, notOgg.data(), 0, static_cast<std::uint32_t>(notOgg.size()), 0), 0);
    EXPECT_EQ(lineCount(testing::internal::GetCapturedStderr()), 1);

    // Cut mid-page: told once, and it plays what there is.
    const std::vector<std::uint8_t> ogg = encodeSineOgg(44100, 2, 1.0, 441.0, 0.1);
    testing::internal::CaptureStderr();
    const int stream = IMXStreamOpenFile(1, ogg.data(), 0, static_cast<std::uint32_t>(ogg.size() / 2 + 5), 0);
    EXPECT_NE(stream, 0);
    EXPECT_EQ(IMXStreamPlay(stream, 1), 1);
    EXPECT_EQ(IMXStreamPlay(stream + 1, 1), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(IMXUninit(), 1);
    EXPECT_EQ(lineCount(testing::internal::GetCapturedStderr()), 1);
}

TEST(MusicLibrary, NoAudioDeviceLeavesTheRunSilent)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    const std::vector<std::uint8_t> ogg = encodeSineOgg(44100, 2, 0.2, 441.0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(IMXInit(&windowToken, 44100, 0, -1), 0);
    EXPECT_EQ(IMXStart(), 0);
    EXPECT_EQ(IMXSetGlobalVolumes(100, 100, 100), 0);
    const int stream = IMXStreamOpenFile(1, ogg.data(), 0, static_cast<std::uint32_t>(ogg.size()), 0);
    EXPECT_EQ(stream, 0);
    EXPECT_EQ(IMXStreamPlay(stream, 1), 0);
    EXPECT_EQ(IMXUninit(), 0);
    EXPECT_EQ(lineCount(testing::internal::GetCapturedStderr()), 1);
}
