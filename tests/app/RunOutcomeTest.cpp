// What the built program tells a user or a script when a run cannot do its work: the exit
// status, one message that says why, and nothing half-written left behind.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "PngTestRead.h"
#include "app/FrameRecorder.h"
#include "platform/Platform.h"
#include "support/ProgramRun.h"
#include "support/ScriptArchive.h"
#include "support/TempDir.h"

namespace {

const char kOffscreen[] = "VOIDRIFT_CONFIG=settings.ini SDL_VIDEODRIVER=offscreen";
const char kRecordOne[] = "--record out --frames 1 --no-loading";

class RunOutcome : public ::testing::Test {
protected:
    void SetUp() override {
        if (!voidriftBuilt()) GTEST_SKIP() << "program not built";
        std::filesystem::create_directory(data());
    }
    std::string data() const { return dir_.file("data"); }
    void writeSettings(const std::string& lines) {
        std::ofstream(dir_.file("settings.ini")) << "[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\n" << lines;
    }
    void writeArchive() { ASSERT_TRUE(writeScriptArchive(data() + "/data.ssd", {{"env.txt", "ENV_END\n"}})); }
    ProgramRun run(const std::string& arguments, const std::string& environment = kOffscreen,
                   const std::string& program = voidriftProgram()) {
        return runVoidrift(dir_.path().string(), environment, arguments, program);
    }

    TempDir dir_;
};

// Not there, empty, cut short, or a FIFO that would block the open for ever: said once,
// and every run for a machine fails instead of showing nothing with status 0.
TEST_F(RunOutcome, ArchiveThatCannotServeFailsUnattendedRuns) {
    writeSettings("Path=" + data() + "\n");
    writeArchive();
    std::vector<char> whole(std::filesystem::file_size(data() + "/data.ssd"));
    std::ifstream(data() + "/data.ssd", std::ios::binary).read(whole.data(), static_cast<std::streamsize>(whole.size()));
    const std::string archive = data() + "/data.ssd";
    struct Case {
        const char* why;
        void (*make)(const std::string& path, const std::vector<char>& whole);
    };
    const Case cases[] = {
        {"not found", [](const std::string& path, const std::vector<char>&) { std::filesystem::remove(path); }},
        {"is not an IMP archive", [](const std::string& path, const std::vector<char>&) { std::ofstream{path}; }},
        {"ends early",
         [](const std::string& path, const std::vector<char>& bytes) {
             std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 2));
         }},
        {"is not a regular file",
         [](const std::string& path, const std::vector<char>&) {
             std::filesystem::remove(path);
             ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
         }},
    };
    for (const Case& c : cases) {
        c.make(archive, whole);
        for (const char* arguments : {"--simulate 1", kRecordOne, "--check-data"}) {
            ProgramRun result = run(arguments);
            EXPECT_EQ(result.status, 1) << c.why << " / " << arguments << "\n" << result.output;
            EXPECT_NE(result.output.find(c.why), std::string::npos) << arguments << "\n" << result.output;
        }
        EXPECT_FALSE(std::filesystem::exists(dir_.file("out/frame-00000.png"))) << c.why;
    }
}

// A folder that cannot be made, a disk that fills up, a step that overflows the frame
// counter, a viewer's run with no display: each fails with a message.
TEST_F(RunOutcome, RunsThatCannotDoTheirWorkFail) {
    writeSettings("Path=" + data() + "\n");
    writeArchive();
    std::ofstream(dir_.file("plain")) << "x";
    ProgramRun record = run("--record plain/out --frames 1 --no-loading --size 64x48");
    EXPECT_EQ(record.status, 1) << record.output;
    EXPECT_NE(record.output.find("cannot record into"), std::string::npos) << record.output;

    ProgramRun tiny = run("--simulate 10 --fixed-dt 1e-300");
    EXPECT_EQ(tiny.status, 2) << tiny.output;
    EXPECT_NE(tiny.output.find("too small"), std::string::npos) << tiny.output;

    ProgramRun unseen = run("/s", "-u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER VOIDRIFT_CONFIG=settings.ini");
    EXPECT_EQ(unseen.status, 1) << unseen.output;
    EXPECT_NE(unseen.output.find("no display found"), std::string::npos) << unseen.output;
    EXPECT_NE(unseen.output.find("--record"), std::string::npos) << unseen.output;
}

// A file that fills the disk is never left under a frame's name, nor under its temporary one.
TEST(FrameFile, FullDiskLeavesNoFrame) {
    TempDir dir;
    std::vector<std::uint8_t> noise(64 * 64 * 3);
    std::mt19937 random(5);
    for (std::uint8_t& byte : noise) byte = static_cast<std::uint8_t>(random());
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;  // well short of 12 KiB of incompressible pixels
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written = writePng(dir.file("frame-00000.png"), 64, 64, noise);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(writePng(dir.file("frame-00000.png"), 64, 64, noise));
    EXPECT_TRUE(std::filesystem::exists(dir.file("frame-00000.png")));
}

// A stored mode no window can have gives way to the desktop mode, with a note; a Path with
// blanks around it still finds its folder, and one that cannot be entered is named.
TEST_F(RunOutcome, UnusableSettingsAreNamedAndReplaced) {
    writeArchive();
    ASSERT_TRUE(platform::initialize(true));
    platform::DisplayMode desktop;
    ASSERT_TRUE(platform::desktopMode(desktop));
    for (const char* mode : {"Width=0\nHeight=600\n", "Width=-320\nHeight=600\n", "Width=800\nHeight=0\n",
                             "Width=800\nHeight=4294967295\n"}) {
        writeSettings(std::string("UseDesktop=0\n") + mode + "Path =  " + data() + " \t\n");
        std::filesystem::remove_all(dir_.file("out"));
        ProgramRun result = run(kRecordOne);
        ASSERT_EQ(result.status, 0) << mode << result.output;
        EXPECT_NE(result.output.find("not usable"), std::string::npos) << mode << result.output;
        TestImage image;
        ASSERT_TRUE(readTestPng(dir_.file("out/frame-00000.png"), image)) << mode;
        EXPECT_EQ(image.width, desktop.width) << mode;
        EXPECT_EQ(image.height, desktop.height) << mode;
    }
    writeSettings("Path=" + data() + "/nowhere\n");
    ProgramRun result = run("--simulate 1");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("\"" + data() + "/nowhere\""), std::string::npos) << result.output;

    // A settings file that is no regular file (a FIFO would hold the open for ever) is
    // named, and the run goes on with the defaults.
    std::filesystem::remove(dir_.file("settings.ini"));
    ASSERT_EQ(mkfifo(dir_.file("settings.ini").c_str(), 0600), 0);
    ProgramRun fifo = run(std::string(kRecordOne) + " --size 64x48 --no-music --data " + data());
    EXPECT_EQ(fifo.status, 0) << fifo.output;
    EXPECT_NE(fifo.output.find("settings.ini is not a regular file; the default settings are used"), std::string::npos)
        << fifo.output;
}

// A folder named with --data is the only one tried, whatever the current folder holds; a
// program installed under a prefix that finds no data names every folder it looked in. A
// viewer's run says it in its message box (offscreen, the box's text goes to stderr).
TEST_F(RunOutcome, DataNotFoundNamesWhereItWasLookedFor) {
    writeSettings("");
    ASSERT_TRUE(writeScriptArchive(dir_.file("data.ssd"), {{"env.txt", "ENV_END\n"}}));  // in the current folder
    const std::string nowhere = dir_.file("nowhere");
    for (const char* arguments : {"--check-data", "--simulate 1", kRecordOne, "/s"}) {
        ProgramRun result = run(std::string(arguments) + " --data " + nowhere);
        EXPECT_EQ(result.status, 1) << arguments << "\n" << result.output;
        EXPECT_NE(result.output.find("data.ssd not found: the data folder \"" + nowhere + "\""), std::string::npos)
            << arguments << "\n" << result.output;
    }
    const std::filesystem::path prefix = dir_.path() / "prefix";
    std::filesystem::create_directories(prefix / "libexec" / "xscreensaver");
    std::filesystem::copy_file(voidriftProgram(), prefix / "libexec" / "xscreensaver" / "voidrift");
    ProgramRun installed = run("/s", kOffscreen, (prefix / "libexec" / "xscreensaver" / "voidrift").string());
    EXPECT_EQ(installed.status, 1) << installed.output;
    const std::string p = prefix.string();
    EXPECT_NE(installed.output.find("Voidrift 3D Screensaver: data.ssd not found in \"" + p + "/libexec/share/voidrift\", \"" + p +
                                    "/share/voidrift\" or \"" + p + "/libexec/xscreensaver\""),
              std::string::npos)
        << installed.output;
}

}  // namespace
