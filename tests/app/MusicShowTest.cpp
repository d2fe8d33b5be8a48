// The music steps of the real show table: "music.ogg" read from the archive and
// played through the music library, and a missing member that leaves the run silent.
#include "app/ShowParts.h"

#include "music/MusicTestOgg.h"
#include "imppack/ArchiveWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<std::int16_t> readSamples(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::uintmax_t fileSize(const std::string& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

int windowToken = 0;

}  // namespace

TEST(MusicShow, PlaysTheArchivedMusicAndBearsItsAbsence)
{
    TempDir dir;
    const std::vector<std::uint8_t> ogg = encodeSineOgg(44100, 2, 1.0, 441.0);
    const std::vector<std::int16_t> expected = referenceDecode(ogg);
    ASSERT_TRUE(writeArchive(dir.file("data.ssd"), {{"music.ogg", ogg, false}}, PackOptions{}));
    ScopedWorkingDir cwd(dir.path());

    const std::string rawFile = dir.file("out.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", rawFile.c_str(), 1);
    const ShowParts& parts = realShowParts();
    const MemberBytes music = parts.readMusicMember();
    ASSERT_EQ(music.size, ogg.size());
    ASSERT_TRUE(std::equal(ogg.begin(), ogg.end(), static_cast<const std::uint8_t*>(music.data)));

    parts.imxInit(&windowToken, 44100, 0, -1);
    parts.imxStart();
    parts.imxSetGlobalVolumes(100, 100, 100);
    const int stream = parts.imxStreamOpenFile(1, music.data, 0, static_cast<int>(music.size), 0);
    EXPECT_NE(stream, 0);
    parts.imxStreamPlay(stream, 1);
    for (int i = 0; i < 200 && fileSize(rawFile) < 65536; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(parts.imxUninit(), 1);
    parts.releaseMusicMember();

    const std::vector<std::int16_t> written = readSamples(rawFile);
    const auto probe = expected.begin() + 2000;
    EXPECT_NE(std::search(written.begin(), written.end(), probe, probe + 400), written.end())
        << "the archived music never reached the device";

    // An archive without the member: the stream opens on nothing, said once.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(writeArchive(dir.file("data.ssd"), {{"other.txt", {'x'}, false}}, PackOptions{}));
    const MemberBytes missing = parts.readMusicMember();
    EXPECT_EQ(missing.size, 0u);
    parts.imxInit(&windowToken, 44100, 0, -1);
    parts.imxStart();
    testing::internal::CaptureStderr();
    EXPECT_EQ(parts.imxStreamOpenFile(1, missing.data, 0, static_cast<int>(missing.size), 0), 0);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1);
    EXPECT_EQ(parts.imxUninit(), 1);
    parts.releaseMusicMember();
    unsetenv("SDL_DISKAUDIOFILE");
}
