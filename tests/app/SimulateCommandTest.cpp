#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/Simulate.h"
#include "script/Settings.h"
#include "support/ScriptArchive.h"

namespace {

const char* kTrack = "KEYFRAMES\nkeyframe\ntime 0\nend\nkeyframe\ntime 2\nend\nENDKEYS\n";

MemberTexts smallShow() {
    MemberTexts m = {
        {"env.txt", "ENV_END\n"},
        {"worlds.txt", "world blue_galaxy\nscenedir a\\\nend\nworld green_galaxy\nscenedir a\\\nend\n"
                       "world red_galaxy\nscenedir a\\\nend\nworld far\nscenedir b\\\nend\nWORLD_END\n"},
        {"dynamic.txt", "ENDWORLD\n"},
    };
    for (int i = 0; i < 4; ++i)
        m.push_back({"a\\scene" + std::to_string(i) + ".txt",
                     std::string("scene\n") + kTrack + "next leg\nworld far\nend\n"});
    for (int i = 0; i < 2; ++i)
        m.push_back({"b\\leg" + std::to_string(i) + ".txt",
                     std::string("scene\n") + kTrack + "cycle\nnext leg\nend\n"});
    return m;
}

// Runs the program; returns its exit status and stdout.
int runProgram(const std::string& arguments, const std::string& config, std::string& output) {
    std::string command = "VOIDRIFT_CONFIG='" + config + "' '" VOIDRIFT_BINARY_DIR "/src/app/voidrift' " +
                          arguments + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    char buffer[256];
    output.clear();
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

// The command line reaches the same simulation, with the settings file's Galaxy and
// TimeScale and its data folder.
TEST(SimulateCommand, MatchesTheInProcessRun) {
    if (!std::filesystem::exists(VOIDRIFT_BINARY_DIR "/src/app/voidrift")) GTEST_SKIP() << "program not built";
    ScriptArchive archive(smallShow());
    ASSERT_TRUE(archive.ok());
    std::string config = archive.dir().file("voidrift.ini");
    std::ofstream(config) << "[Software\\Voidrift 3D Screensaver]\nPath=" << archive.dir().path().string()
                          << "\nGalaxy=1\nTimeScale=2\n";
    std::string output;
    ASSERT_EQ(runProgram("--simulate 9.5 --fixed-dt 0.25 --seed 77", config, output), 0);

    Settings saved = settings;
    settings.galaxy = true;
    settings.timeScale = 2;
    RunOptions options;
    options.simulateSeconds = 9.5;
    options.fixedDt = 0.25;
    options.hasSeed = true;
    options.seed = 77;
    std::FILE* out = std::tmpfile();
    runSimulation(options, out);
    settings = saved;
    std::rewind(out);
    std::string expected;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, out)) expected += buffer;
    std::fclose(out);
    EXPECT_EQ(output, expected);
    // Galaxy on and twice the speed: the 2-second opening ends at 1 s of main-loop time.
    EXPECT_NE(output.find("t=1.000 world=far scene=b\\leg"), std::string::npos) << output;

    // A chosen opening plays first, Galaxy or not, and the chain goes on from it.
    ASSERT_EQ(runProgram("--simulate 3 --fixed-dt 0.25 --seed 77 --scene far:leg1.txt", config, output), 0);
    EXPECT_EQ(output.rfind("t=0.000 world=far scene=b\\leg1.txt", 0), 0u) << output;
    EXPECT_NE(runProgram("--simulate 3 --scene far", config, output), 0);

    // The data check: textures and meshes are missing from this small show.
    EXPECT_EQ(runProgram("--check-data", config, output), 1);
    EXPECT_NE(output.find("textures\\particle.jpg: missing"), std::string::npos) << output;
}
