#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "PngTestRead.h"
#include "app/Entry.h"
#include "app/FrameRecorder.h"
#include "support/ProgramRun.h"
#include "support/ScriptArchive.h"
#include "support/OffscreenGL.h"
#include "support/TempDir.h"

namespace {

TEST(FrameRecorder, PngRowsTopFirst) {
    TempDir dir;
    std::vector<std::uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3};  // 2 x 2
    ASSERT_TRUE(writePng(dir.file("a.png"), 2, 2, rgb));
    TestImage image;
    ASSERT_TRUE(readTestPng(dir.file("a.png"), image));
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.rgb, rgb);
    EXPECT_FALSE(writePng(dir.file("b.png"), 2, 2, std::vector<std::uint8_t>(11)));
    EXPECT_FALSE(writePng(dir.file("missing/folder/c.png"), 2, 2, rgb));
}

TEST(FrameRecorder, BackBufferComesOutUpright) {
    OffscreenGL gl(64, 48);
    ASSERT_TRUE(gl.ok());
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 36, 64, 12);  // the top quarter in GL's bottom-up rows
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);

    TempDir dir;
    FrameRecorder recorder((dir.path() / "new" / "frames").string());
    ASSERT_TRUE(recorder.prepare());
    ASSERT_TRUE(recorder.recordBackBuffer(64, 48));
    ASSERT_TRUE(recorder.recordBackBuffer(64, 48));
    EXPECT_EQ(recorder.framesWritten(), 2u);
    EXPECT_TRUE(std::filesystem::exists(recorder.framePath(1)));
    EXPECT_EQ(std::filesystem::path(recorder.framePath(1)).filename(), "frame-00001.png");
    TestImage image;
    ASSERT_TRUE(readTestPng(recorder.framePath(0), image));
    EXPECT_EQ(image.pixel(10, 0)[0], 255);
    EXPECT_EQ(image.pixel(10, 11)[0], 255);
    EXPECT_EQ(image.pixel(10, 12)[2], 255);
    EXPECT_EQ(image.pixel(10, 12)[0], 0);
    EXPECT_EQ(image.pixel(63, 47)[2], 255);
}

TEST(FrameRecorder, UnwritableFolderIsRefused) {
    TempDir dir;
    std::ofstream(dir.file("plain")) << "x";
    FrameRecorder recorder(dir.file("plain"));
    EXPECT_FALSE(recorder.prepare());
}

// Runs the program's entry with a settings file naming `dataFolder`; returns the frames' folder.
std::string recordThroughEntry(const TempDir& dir, const std::string& dataFolder) {
    std::string config = dir.file("settings.ini");
    std::ofstream(config) << "[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nPath=" << dataFolder << "\n";
    setenv("VOIDRIFT_CONFIG", config.c_str(), 1);
    // A relative recording folder belongs to the starting folder, not to the data folder.
    ScopedWorkingDir start(dir.path());
    std::vector<std::string> arguments = {"voidrift", "--record", "out", "--frames", "3", "--no-loading", "--size", "320x240"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    EXPECT_EQ(voidriftMain(static_cast<int>(argv.size()), argv.data()), 0);
    unsetenv("VOIDRIFT_CONFIG");
    return dir.file("out");
}

void expectThreeLetterboxedFrames(const std::string& out) {
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(out)) files += entry.is_regular_file();
    EXPECT_EQ(files, 3);
    for (int frame = 0; frame < 3; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%05d.png", frame);
        TestImage image;
        ASSERT_TRUE(readTestPng(out + "/" + name, image)) << name;
        EXPECT_EQ(image.width, 320);
        EXPECT_EQ(image.height, 240);
        EXPECT_TRUE(image.rowsBlack(0, 29)) << name;
        EXPECT_TRUE(image.rowsBlack(210, 239)) << name;
    }
}

// The shipped command line of an offscreen recording, through the program's entry.
TEST(RecordedRun, ThreeLetterboxedFramesWithoutADisplay) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "data");
    ASSERT_TRUE(writeScriptArchive(dir.file("data/data.ssd"), {{"env.txt", "ENV_END\n"}}));
    expectThreeLetterboxedFrames(recordThroughEntry(dir, dir.file("data")));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "data" / "out"));
}

// The same over the show the build packed, through the built program (a whole show leaves
// process-wide state behind, so it runs in a process of its own): the galaxy fills the view
// and the bars stay black (clock and frame rate, which live in the bars, switched off).
TEST(RecordedRun, BuiltShowKeepsItsBarsBlack) {
    std::string data = std::string(VOIDRIFT_BINARY_DIR) + "/data";
    std::string program = std::string(VOIDRIFT_BINARY_DIR) + "/src/app/voidrift";
    if (!std::filesystem::exists(data + "/data.ssd")) GTEST_SKIP() << "no data.ssd in " << data;
    if (!std::filesystem::exists(program)) GTEST_SKIP() << "program not built";
    TempDir dir;
    std::ofstream(dir.file("settings.ini")) << "[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nShowClock=0\n"
                                            << "ShowFPS=0\nGalaxy=1\nPath=" << data << "\n";
    // The GL driver leaks from JIT code the leak checker cannot name (sanitizer builds only).
    std::string command = "cd '" + dir.path().string() + "' && VOIDRIFT_CONFIG=settings.ini SDL_VIDEODRIVER=offscreen ASAN_OPTIONS=detect_leaks=0 '" +
                          program + "' --record out --frames 3 --no-loading --size 320x240 --seed 7 --fixed-dt 0.5";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    expectThreeLetterboxedFrames(dir.file("out"));
    TestImage image;
    ASSERT_TRUE(readTestPng(dir.file("out/frame-00002.png"), image));
    EXPECT_FALSE(image.rowsBlack(30, 209));
}

// Each world added in the second season, opened at its first scene and recorded nine seconds
// in (past the fade from black): the bars stay black and between them is a lit picture, not
// a blank view or one flat colour.
TEST(RecordedRun, NewWorldsShowALitPictureBetweenBlackBars) {
    std::string data = std::string(VOIDRIFT_BINARY_DIR) + "/data";
    if (!std::filesystem::exists(data + "/data.ssd")) GTEST_SKIP() << "no data.ssd in " << data;
    if (!voidriftBuilt()) GTEST_SKIP() << "program not built";
    TempDir dir;
    std::ofstream(dir.file("settings.ini")) << "[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nShowClock=0\n"
                                            << "ShowFPS=0\nPath=" << data << "\n";
    for (const char* world : {"ocean", "belt", "binary", "comet"}) {
        SCOPED_TRACE(world);
        std::string out = std::string("out-") + world;
        ProgramRun run = runVoidrift(dir.path().string(), "VOIDRIFT_CONFIG=settings.ini SDL_VIDEODRIVER=offscreen",
                                     "--record " + out + " --frames 10 --no-loading --size 320x240 --seed 1 " +
                                         "--fixed-dt 1 --scene " + world + ":a0.txt");
        ASSERT_EQ(run.status, 0) << run.output;
        TestImage image;
        ASSERT_TRUE(readTestPng(dir.file(out + "/frame-00009.png"), image));
        EXPECT_TRUE(image.rowsBlack(0, 29));
        EXPECT_TRUE(image.rowsBlack(210, 239));
        int lit = 0, brightest = 0, darkest = 255 * 3;
        for (int y = 30; y < 210; ++y) {
            for (int x = 0; x < 320; ++x) {
                const std::uint8_t* p = image.pixel(x, y);
                int sum = p[0] + p[1] + p[2];
                lit += sum > 90;
                brightest = std::max(brightest, sum);
                darkest = std::min(darkest, sum);
            }
        }
        EXPECT_GT(lit, 320 * 180 / 50) << "at least a fiftieth of the picture is lit";
        EXPECT_GT(brightest - darkest, 300) << "light and shade, not one flat colour";
    }
}

// Offscreen swaps do not pace the software renderer: unless every frame finishes in its
// frame, the loading animation queues seconds of work that the show's first frame then
// waits for, and a one-second benchmark counts a single frame.
TEST(RecordedRun, LoadingAnimationLeavesNoBacklogOffscreen) {
    std::string data = std::string(VOIDRIFT_BINARY_DIR) + "/data";
    if (!std::filesystem::exists(data + "/data.ssd")) GTEST_SKIP() << "no data.ssd in " << data;
    if (!voidriftBuilt()) GTEST_SKIP() << "program not built";
    TempDir dir;
    std::ofstream(dir.file("settings.ini")) << "[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nPath=" << data << "\n";
    ProgramRun run = runVoidrift(dir.path().string(), "VOIDRIFT_CONFIG=settings.ini SDL_VIDEODRIVER=offscreen",
                                 "--benchmark 1 --size 320x240 --seed 1");
    ASSERT_EQ(run.status, 0) << run.output;
    std::size_t at = run.output.find("frames=");
    ASSERT_NE(at, std::string::npos) << run.output;
    unsigned frames = std::stoul(run.output.substr(at + 7));
    EXPECT_GE(frames, 2u) << run.output;
}

TEST(RecordedRun, BadLongOptionExitsWithUsage) {
    std::vector<std::string> arguments = {"voidrift", "--frames", "many"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    EXPECT_EQ(voidriftMain(static_cast<int>(argv.size()), argv.data()), 2);
}

}  // namespace
