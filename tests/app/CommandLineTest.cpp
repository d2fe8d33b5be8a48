#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/ExitCode.h"
#include "app/RunOptions.h"
#include "script/Settings.h"

namespace {

struct Case {
    const char* line;
    RunMode mode;
    int parentWindow;
};

TEST(CommandLine, SwitchesAndHandles) {
    const Case cases[] = {
        {"voidrift.scr", configure, 0},
        {"voidrift.scr ", configure, 0},
        {"", configure, 0},
        {"voidrift.scr /S", saver, 0},
        {"voidrift.scr -s", saver, 0},
        {"voidrift.scr /s", saver, 0},
        {"voidrift.scr /a 1234", saver, 0},
        {"voidrift.scr /t", saverTest, 0},
        {"voidrift.scr /T", saverTest, 0},
        {"voidrift.scr /c:1234", configure, 1234},
        {"voidrift.scr /c 1234", configure, 1234},
        {"voidrift.scr /C", configure, 0},
        {"voidrift.scr /p 1234", preview, 1234},
        {"voidrift.scr /p:1234", preview, 1234},
        {"voidrift.scr /P 77 /s", preview, 77},
        {"voidrift.scr /p", preview, 0},
        {"voidrift.scr /p abc", preview, 0},
        {"voidrift.scr /c 99999999999", configure, 2147483647},
        {"voidrift /p 0x1a00003", preview, 0x1a00003},
        {"voidrift /p 0XfF", preview, 255},
        {"voidrift /p 0xfffffffff", preview, 2147483647},
        {"voidrift /p 0x", preview, 0},
        {"voidrift /p 12ab", preview, 12},
        {"\"C:\\my-saver\\x.scr\" /p 5", preview, 5},
        {"\"C:\\my-saver\\x.scr\"", configure, 0},
        {"\"C:\\my-saver/x.scr", configure, 0},
        {"voidrift.scr x-s", saver, 0},
        {"voidrift.scr /", saver, 0},
        {"voidrift.scr -", saver, 0},
        {"voidrift.scr\t/c 12", configure, 0},  // a tab does not end the name: "/c" is inside it
        {"C:\\tools\\saver.scr /s /c 12", saver, 0},
    };
    for (const Case& c : cases) {
        SaverApp app;
        app.parentWindow = 42;
        EXPECT_EQ(parseCommandLine(app, c.line), c.mode) << c.line;
        EXPECT_EQ(app.parentWindow, c.parentWindow) << c.line;
    }
}

TEST(CommandLine, TabInsideNameIsSkippedWithTheName) {
    // The whole "voidrift.scr\t/c" is the program name, the scan starts after the space.
    SaverApp app;
    EXPECT_EQ(parseCommandLine(app, "voidrift.scr\t/c 12 /p 3"), preview);
    EXPECT_EQ(app.parentWindow, 3);
}

TEST(CommandLine, RebuiltRawLineParsesLikeWindows) {
    std::vector<std::string> args = {"/opt/my saver/voidrift", "/p", "1234"};
    std::string line = rawCommandLine(args);
    EXPECT_EQ(line, "\"/opt/my saver/voidrift\" /p 1234");
    SaverApp app;
    EXPECT_EQ(parseCommandLine(app, line.c_str()), preview);
    EXPECT_EQ(app.parentWindow, 1234);
    // A dash in the program's folder never counts as a switch.
    EXPECT_EQ(parseCommandLine(app, rawCommandLine({"/home/a-b/voidrift"}).c_str()), configure);
}

TEST(LongOptions, TakenOutBeforeTheSwitches) {
    std::vector<std::string> args = {"voidrift", "--record", "out", "/s", "--frames=3", "--no-loading",
                                     "--size", "320x240", "--seed", "4294967295", "--fixed-dt", "0.5",
                                     "--benchmark", "2", "--renderer", "gles"};
    RunOptions options;
    std::string error;
    ASSERT_TRUE(extractLongOptions(args, options, error)) << error;
    EXPECT_EQ(args, (std::vector<std::string>{"voidrift", "/s"}));
    EXPECT_EQ(options.recordDir, "out");
    EXPECT_EQ(options.frames, 3);
    EXPECT_TRUE(options.noLoading);
    EXPECT_EQ(options.width, 320);
    EXPECT_EQ(options.height, 240);
    EXPECT_TRUE(options.hasSeed);
    EXPECT_EQ(options.seed, 4294967295u);
    EXPECT_DOUBLE_EQ(options.fixedDt, 0.5);
    EXPECT_DOUBLE_EQ(options.benchmarkSeconds, 2);
    EXPECT_EQ(options.renderer, "gles");
    EXPECT_TRUE(options.unattended());

    RunOptions plain;
    std::vector<std::string> screensaver = {"voidrift", "/p", "12"};
    ASSERT_TRUE(extractLongOptions(screensaver, plain, error));
    EXPECT_FALSE(plain.unattended());
    EXPECT_EQ(screensaver.size(), 3u);
}

TEST(LongOptions, BadValuesAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"v", "--frames"},          {"v", "--frames", "-1"},     {"v", "--frames", "3x"},
        {"v", "--size", "320"},     {"v", "--size", "0x240"},    {"v", "--size", "320x"},
        {"v", "--seed", "4294967296"}, {"v", "--fixed-dt", "0"}, {"v", "--fixed-dt", "nan"},
        {"v", "--benchmark", "0"},  {"v", "--record", ""},       {"v", "--no-loading=1"},
        {"v", "--colour"},
        {"v", "--window-id", "0"},  {"v", "-window-id", "0x"},  {"v", "--window-id", "12ab"},
        {"v", "--window-id", "0xfg"}, {"v", "--speed", "slow"}, {"v", "--volume", "0"},
        {"v", "--volume", "101"},   {"v", "--max-fps", "-1"},  {"v", "-root=1"},
        {"v", "--renderer", "vulkan"}, {"v", "--renderer", ""},
    };
    for (auto args : bad) {
        RunOptions options;
        std::string error;
        EXPECT_FALSE(extractLongOptions(args, options, error)) << args.back();
        EXPECT_FALSE(error.empty());
    }
}

// XScreenSaver's way of starting a hack: single-dash options, no screensaver switch, the
// window in the environment. The options win over the settings file for this run only.
TEST(HackOptions, SelectTheWindowAndOverrideTheSettings) {
    std::vector<std::string> args = {"voidrift", "-root", "-fps", "--speed", "fastest", "--no-music",
                                     "--volume=40", "--no-clock", "--no-galaxy", "--max-fps", "25",
                                     "--data", "/opt/show"};
    RunOptions options;
    std::string error;
    ASSERT_TRUE(extractLongOptions(args, options, error)) << error;
    EXPECT_EQ(args, std::vector<std::string>{"voidrift"});
    EXPECT_TRUE(options.embedded());
    EXPECT_FALSE(options.unattended());
    EXPECT_EQ(options.dataPath, "/opt/show");
    adoptDaemonWindow(options, "0x1c00007");
    EXPECT_EQ(options.windowId, 0x1c00007u);

    Settings record;
    record.galaxy = true;
    record.defGamma = false;
    applySettingOverrides(options, record);
    EXPECT_TRUE(record.showFps);
    EXPECT_EQ(record.timeScale, 2u);
    EXPECT_FALSE(record.enableMusic);
    EXPECT_EQ(record.volume, 40);
    EXPECT_FALSE(record.showClock);
    EXPECT_FALSE(record.galaxy);
    EXPECT_TRUE(record.defGamma);  // the daemon's display keeps its ramp
    EXPECT_EQ(frameRateCap(options, 100), 25);

    // A window named outright beats the daemon's; decimal ids too.
    RunOptions named;
    std::vector<std::string> byId = {"voidrift", "-window-id", "4194311"};
    ASSERT_TRUE(extractLongOptions(byId, named, error)) << error;
    adoptDaemonWindow(named, "0x1c00007");
    EXPECT_EQ(named.windowId, 4194311u);

    // Without options the file decides; the cap defaults to 60 in a hack and none in /s.
    RunOptions plain;
    adoptDaemonWindow(plain, "garbage");
    EXPECT_FALSE(plain.embedded());
    Settings untouched;
    untouched.defGamma = false;
    applySettingOverrides(plain, untouched);
    EXPECT_TRUE(untouched.enableMusic);
    EXPECT_FALSE(untouched.defGamma);
    EXPECT_EQ(frameRateCap(plain, -1), 0);
    EXPECT_EQ(frameRateCap(plain, 30), 30);
    EXPECT_EQ(frameRateCap(named, -1), 60);
    EXPECT_EQ(frameRateCap(named, 0), 0);
}

// The saver modes report 0 to Windows whatever happened; our own options report the run.
TEST(WindowsExitCode, SaverModesZeroOwnOptionsTheirCode) {
    EXPECT_EQ(windowsExitCode({"voidrift.scr", "/s"}, 1), 0);
    EXPECT_EQ(windowsExitCode({"voidrift.scr", "/p", "1234"}, 1), 0);
    EXPECT_EQ(windowsExitCode({"voidrift.scr"}, 1), 0);
    EXPECT_EQ(windowsExitCode({"voidrift.scr", "/s", "--no-music"}, 1), 0);
    EXPECT_EQ(windowsExitCode({"voidrift.scr", "--frames", "x"}, 2), 2);
    EXPECT_EQ(windowsExitCode({"voidrift.scr", "--bogus"}, 2), 2);
    for (std::vector<std::string> run : {std::vector<std::string>{"v", "/s", "--record", "C:\\f"},
                                         {"v", "--frames", "3"}, {"v", "--benchmark", "2"}, {"v", "--check-data"},
                                         {"v", "--simulate", "5"}}) {
        EXPECT_EQ(windowsExitCode(run, 1), 1) << run[1];
        EXPECT_EQ(windowsExitCode(run, 0), 0) << run[1];
    }
}

}  // namespace
