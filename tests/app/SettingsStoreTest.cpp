#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "app/SettingsFile.h"
#include "app/SettingsStore.h"
#include "support/TempDir.h"

namespace {

const platform::DisplayMode kDesktop{1280, 1024, 32};

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

Settings load(const std::string& path) {
    Settings record;
    loadSettingsFrom(path, record, kDesktop);
    return record;
}

TEST(SettingsStore, MissingFileGivesDefaults) {
    TempDir dir;
    Settings record;
    record.volume = 3;
    EXPECT_FALSE(loadSettingsFrom(dir.file("none.ini"), record, kDesktop));
    EXPECT_TRUE(record.showClock);
    EXPECT_TRUE(record.enableMusic);
    EXPECT_TRUE(record.useDesktop);
    EXPECT_FALSE(record.showFlame);
    EXPECT_TRUE(record.defGamma);
    EXPECT_EQ(record.width, 1280u);
    EXPECT_EQ(record.height, 1024u);
    EXPECT_EQ(record.depth, 32);
    EXPECT_EQ(record.volume, 100);
    EXPECT_EQ(record.gamma, 50);
    EXPECT_EQ(record.timeScale, 0u);
    EXPECT_FALSE(record.galaxy);
    EXPECT_FALSE(record.showFps);
    EXPECT_FALSE(record.vsync);
    EXPECT_FALSE(record.mouseExit);
    EXPECT_STREQ(record.path, "");  // the program finds its data itself
}

TEST(SettingsStore, ValuesAsTheRegistryWouldGiveThem) {
    TempDir dir;
    std::string path = dir.file("s.ini");
    writeFile(path,
              "[Software\\Voidrift 3D Screensaver]\r\n"
              "TimeScale=7\nShowFPS=5\nshowclock=0\nWidth=640\nHeight=480\nDepth=16\nVolume=-3\n"
              "Gamma= 80 \nPath = \t/data/with spaces/ and = sign \n");
    Settings record = load(path);
    EXPECT_EQ(record.timeScale, 0u);
    EXPECT_TRUE(record.showFps);
    EXPECT_FALSE(record.showClock);  // value names ignore case, as the registry's do
    EXPECT_EQ(record.width, 640u);
    EXPECT_EQ(record.height, 480u);
    EXPECT_EQ(record.depth, 16);
    EXPECT_EQ(record.volume, -3);
    EXPECT_EQ(record.gamma, 80);
    // Blanks inside the folder name stay; those around the value go.
    EXPECT_STREQ(record.path, "/data/with spaces/ and = sign");

    const std::pair<const char*, unsigned> timeScales[] = {{"-1", 0}, {"3", 3}, {"2", 2}, {"4294967295", 0}, {"4", 0}};
    for (auto [text, expected] : timeScales) {
        writeFile(path, std::string("TimeScale=") + text + "\n");
        EXPECT_EQ(load(path).timeScale, expected) << text;
    }
    const std::pair<const char*, unsigned> idleMinutes[] = {{"0", 10}, {"1", 1}, {"1440", 1440}, {"1441", 10}, {"-5", 10}};
    for (auto [text, expected] : idleMinutes) {
        writeFile(path, std::string("IdleMinutes=") + text + "\n");
        EXPECT_EQ(load(path).idleMinutes, expected) << text;
    }
}

TEST(SettingsStore, MalformedLinesKeepDefaults) {
    TempDir dir;
    std::string path = dir.file("s.ini");
    std::string longPath(400, 'p');
    writeFile(path,
              "garbage without equals\n=5\nWidth=wide\nHeight=4294967296\nVolume=12abc\nGamma=\n"
              "Depth=24\nDepth=8\nUnknown=1\nPath=" + longPath + "\n[Other Key]\nVolume=7\n");
    Settings record = load(path);
    EXPECT_EQ(record.width, 1280u);
    EXPECT_EQ(record.height, 1024u);
    EXPECT_EQ(record.volume, 100);  // neither "12abc" nor the other section's value
    EXPECT_EQ(record.gamma, 50);
    EXPECT_EQ(record.depth, 24);  // the first of two
    EXPECT_EQ(std::string(record.path), longPath.substr(0, Settings::kPathCapacity - 1));
}

TEST(SettingsStore, SaveKeepsForeignLinesAndPath) {
    TempDir dir;
    std::string path = dir.file("sub/dir/s.ini");
    std::filesystem::create_directories(dir.path() / "sub/dir");
    writeFile(path,
              "[Software\\Voidrift 3D Screensaver]\n# a note\nPath=/my/data\nShowFlame=5\nMouseExit=1\n"
              "Volume=40\nVolume=41\nCustom=keep me\n\n[Other Key]\nWidth=1\n");
    Settings record = load(path);
    EXPECT_TRUE(record.showFlame);
    record.volume = 55;
    record.gamma = -2;
    ASSERT_TRUE(saveSettingsTo(path, record));
    std::string saved = readFile(path);
    EXPECT_EQ(saved.rfind("[Software\\Voidrift 3D Screensaver]\n# a note\nPath=/my/data\nShowFlame=1\nMouseExit=1\nVolume=55\n"
                          "Volume=41\nCustom=keep me\n", 0),
              0u)
        << saved;
    EXPECT_NE(saved.find("\n[Other Key]\nWidth=1\n"), std::string::npos) << saved;
    // Values not in the file yet go into our section, before the other key.
    EXPECT_LT(saved.find("Gamma=-2"), saved.find("[Other Key]"));
    EXPECT_LT(saved.find("TimeScale=0"), saved.find("[Other Key]"));

    Settings again = load(path);
    EXPECT_EQ(again.volume, 55);
    EXPECT_EQ(again.gamma, -2);
    EXPECT_TRUE(again.mouseExit);
    EXPECT_STREQ(again.path, "/my/data");
    // Nothing but the settings file itself is left in the folder.
    int entries = 0;
    for (auto& entry : std::filesystem::directory_iterator(dir.path() / "sub/dir")) entries += entry.exists();
    EXPECT_EQ(entries, 1);
}

// What the dialog did not change comes back byte for byte: line ends, blanks, a repeat,
// a line the load passes over, a negative width, a last line without its end.
TEST(SettingsStore, SaveRewritesOnlyTheLinesWhoseValueChanged) {
    TempDir dir;
    std::string path = dir.file("s.ini");
    writeFile(path,
              "; mine\r\n[Software\\Voidrift 3D Screensaver]\r\nWidth=-5\r\nGamma = 80 \r\nVolume=40\r\nVolume=41\r\n"
              "Depth=deep\r\nDepth=16\r\n\r\n[Other Key]\r\nWidth=1");
    Settings record = load(path);
    EXPECT_EQ(record.depth, 16);  // the first line that reads as a number
    record.volume = 55;
    ASSERT_TRUE(saveSettingsTo(path, record));
    std::string saved = readFile(path);
    EXPECT_EQ(saved.rfind("; mine\r\n[Software\\Voidrift 3D Screensaver]\r\nWidth=-5\r\nGamma = 80 \r\nVolume=55\r\n"
                          "Volume=41\r\nDepth=deep\r\nDepth=16\r\n\r\nShowClock=1\r\n",
                          0),
              0u)
        << saved;
    const std::string end = "MaxFps=-1\r\nIdleMinutes=10\r\n[Other Key]\r\nWidth=1";  // new values close our section
    EXPECT_EQ(saved.substr(saved.size() - end.size()), end) << saved;
    for (std::size_t at = saved.find('\n'); at != std::string::npos; at = saved.find('\n', at + 1)) {
        EXPECT_EQ(saved[at - 1], '\r') << "a bare line feed at " << at << " in " << saved;
    }
    Settings again = load(path);
    EXPECT_EQ(again.volume, 55);
    EXPECT_EQ(again.width, record.width);
    ASSERT_TRUE(saveSettingsTo(path, again));
    EXPECT_EQ(readFile(path), saved);
}

// A file that is there but is no regular file (a FIFO, a folder, a device) is refused at
// once, never waited on, and left as it is.
TEST(SettingsStore, WhatIsNoRegularFileIsLeftAlone) {
    TempDir dir;
    std::vector<std::string> paths = {dir.file("fifo.ini"), dir.file("folder.ini")};
    ASSERT_EQ(mkfifo(paths[0].c_str(), 0600), 0);
    std::filesystem::create_directory(paths[1]);
    // Making a device node takes a privilege the test may lack.
    if (mknod(dir.file("device.ini").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) paths.push_back(dir.file("device.ini"));
    for (const std::string& path : paths) {
        Settings record;
        std::string problem;
        EXPECT_FALSE(loadSettingsFrom(path, record, kDesktop, &problem)) << path;
        EXPECT_NE(problem.find(path + " is not a regular file"), std::string::npos) << problem;
        EXPECT_EQ(record.width, 1280u);
        problem.clear();
        EXPECT_FALSE(saveSettingsTo(path, record, &problem)) << path;
        EXPECT_NE(problem.find(path), std::string::npos) << problem;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(paths[0]));
    EXPECT_TRUE(std::filesystem::is_empty(paths[1]));
    if (paths.size() > 2) {
        EXPECT_TRUE(std::filesystem::is_character_file(paths[2]));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), static_cast<long>(paths.size()));
}

// Root reads every file: as root, `check` runs in a child under the "nobody" ids, to whom a
// file of mode 000 is closed. True when `check` is.
bool asUnprivilegedUser(const std::function<bool()>& check) {
    if (geteuid() != 0) return check();
    pid_t child = fork();
    if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 && check() ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(SettingsStore, AFileThatCannotBeReadIsNeverWrittenOver) {
    TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);  // anyone could write beside it
    std::string path = dir.file("s.ini");
    const std::string before = "[Software\\Voidrift 3D Screensaver]\n; mine\nVolume=7\n[Other Key]\nX=1\n";
    writeFile(path, before);
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    bool refused = asUnprivilegedUser([&path] {
        Settings record;
        std::string loadProblem;
        std::string saveProblem;
        bool loaded = loadSettingsFrom(path, record, kDesktop, &loadProblem);
        bool saved = saveSettingsTo(path, record, &saveProblem);
        std::fprintf(stderr, "load: %s\nsave: %s\n", loadProblem.c_str(), saveProblem.c_str());
        return !loaded && record.volume == 100 && loadProblem.find(path + " cannot be read") != std::string::npos &&
               !saved && saveProblem.find("left as it is") != std::string::npos;
    });
    EXPECT_TRUE(refused);
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// A save that fails part way (here the file size limit stops the write) says so, leaves
// the old file whole and takes its temporary file away again.
TEST(SettingsStore, ASaveThatFailsLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    std::string path = dir.file("s.ini");
    writeFile(path, "Volume=7\n");
    std::string contents = "left over";
    std::string problem;
    EXPECT_EQ(readSettingsFile(dir.file("none.ini"), contents, problem), SettingsFileRead::missing);
    EXPECT_EQ(contents, "");
    pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16, 16};
        bool failed = setrlimit(RLIMIT_FSIZE, &limit) == 0 && !writeSettingsFile(path, std::string(4096, 'x'), problem) &&
                      problem.find("cannot write the settings file " + path) != std::string::npos;
        _exit(failed ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(readFile(path), "Volume=7\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    // A folder where the file should be is left alone, and the save says it failed.
    EXPECT_FALSE(writeSettingsFile(dir.path(), "Volume=7\n", problem));
    EXPECT_NE(problem.find("is not a regular file; it is left alone"), std::string::npos) << problem;
    // So is a save whose folder cannot be made.
    EXPECT_FALSE(writeSettingsFile(path + "/s.ini", "Volume=7\n", problem));
    EXPECT_NE(problem.find("cannot write the settings file"), std::string::npos) << problem;
}

// A link (a dotfile setup) is written through to its file, which keeps its mode; a new
// file gets the usual mode under the umask, not a private one.
TEST(SettingsStore, SaveWritesThroughLinksAndKeepsTheMode) {
    namespace fs = std::filesystem;
    TempDir dir;
    fs::create_directory(dir.path() / "dotfiles");
    std::string real = dir.file("dotfiles/voidrift.ini");
    writeFile(real, "[Software\\Voidrift 3D Screensaver]\nVolume=7\n");
    const fs::perms kept = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(real, kept);
    std::string link = dir.file("settings.ini");
    fs::create_symlink("dotfiles/voidrift.ini", link);
    fs::create_symlink("dotfiles/later.ini", dir.file("later.ini"));  // its file is not there yet
    Settings record = load(link);
    EXPECT_EQ(record.volume, 7);
    record.volume = 8;
    mode_t previous = umask(022);
    bool saved = saveSettingsTo(link, record) && saveSettingsTo(dir.file("later.ini"), record) &&
                 saveSettingsTo(dir.file("fresh/s.ini"), record);
    umask(previous);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(dir.file("later.ini")));
    EXPECT_EQ(load(link).volume, 8);
    EXPECT_EQ(load(dir.file("dotfiles/later.ini")).volume, 8);
    EXPECT_EQ(fs::status(real).permissions(), kept);
    const fs::perms usual = kept | fs::perms::others_read;  // 0644
    EXPECT_EQ(fs::status(dir.file("fresh/s.ini")).permissions(), usual);
    EXPECT_EQ(fs::status(dir.file("dotfiles/later.ini")).permissions(), usual);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "dotfiles"), {}), 2);  // no temporary left
}

TEST(SettingsStore, SaveNeverWritesPathAndRoundTripsEveryValue) {
    TempDir dir;
    std::string path = dir.file("new/s.ini");  // the folder does not exist yet
    Settings record;
    applyDefaultSettings(record, kDesktop);
    record.showClock = false;
    record.enableMusic = false;
    record.useDesktop = false;
    record.showFlame = true;
    record.defGamma = false;
    record.width = 1024;
    record.height = 768;
    record.depth = 16;
    record.volume = 1;
    record.gamma = 100;
    record.timeScale = 3;
    record.galaxy = true;
    record.showFps = true;
    record.vsync = true;
    record.mouseExit = true;
    std::snprintf(record.path, sizeof record.path, "/elsewhere");
    ASSERT_TRUE(saveSettingsTo(path, record));
    std::string saved = readFile(path);
    EXPECT_EQ(saved.rfind("[Software\\Voidrift 3D Screensaver]\nShowClock=0\n", 0), 0u) << saved;
    EXPECT_EQ(saved.find("Path"), std::string::npos);
    Settings loaded = load(path);
    std::snprintf(loaded.path, sizeof loaded.path, "/elsewhere");
    EXPECT_EQ(loaded.showClock, record.showClock);
    EXPECT_EQ(loaded.enableMusic, record.enableMusic);
    EXPECT_EQ(loaded.useDesktop, record.useDesktop);
    EXPECT_EQ(loaded.showFlame, record.showFlame);
    EXPECT_EQ(loaded.defGamma, record.defGamma);
    EXPECT_EQ(loaded.width, record.width);
    EXPECT_EQ(loaded.height, record.height);
    EXPECT_EQ(loaded.depth, record.depth);
    EXPECT_EQ(loaded.volume, record.volume);
    EXPECT_EQ(loaded.gamma, record.gamma);
    EXPECT_EQ(loaded.timeScale, record.timeScale);
    EXPECT_EQ(loaded.galaxy, record.galaxy);
    EXPECT_EQ(loaded.showFps, record.showFps);
    EXPECT_EQ(loaded.vsync, record.vsync);
    EXPECT_EQ(loaded.mouseExit, record.mouseExit);
}

TEST(SettingsStore, PathFollowsTheEnvironment) {
    const char* saved = std::getenv("VOIDRIFT_CONFIG");
    std::string previous = saved ? saved : "";
    setenv("VOIDRIFT_CONFIG", "/tmp/x/settings.ini", 1);
    EXPECT_EQ(settingsPath(), "/tmp/x/settings.ini");
    unsetenv("VOIDRIFT_CONFIG");
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::string previousXdg = xdg ? xdg : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(settingsPath(), "/cfg/voidrift/settings.ini");
    if (previousXdg.empty()) unsetenv("XDG_CONFIG_HOME"); else setenv("XDG_CONFIG_HOME", previousXdg.c_str(), 1);
    if (!previous.empty()) setenv("VOIDRIFT_CONFIG", previous.c_str(), 1);
}

}  // namespace
