// The shipped show: the generated folder tree and data.ssd that the build packs. Every
// member a script names is there, tracks are sound, scene chains reach every world and
// come back to a galaxy, half an hour passes before any scene file plays a third time,
// and the player's own check and simulation agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include <vorbis/vorbisfile.h>

#include "app/CheckData.h"
#include "app/RunOptions.h"
#include "app/Simulate.h"
#include "mkcontent/ContactSheet.h"
#include "mkcontent/ContentBuild.h"
#include "script/Settings.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string treeDir = std::string(VOIDRIFT_BINARY_DIR) + "/content/tree";
const std::string dataDir = std::string(VOIDRIFT_BINARY_DIR) + "/data";
const char* galaxies[] = {"blue_galaxy", "green_galaxy", "red_galaxy"};

std::vector<std::string> linesOf(const std::string& member) {
    std::ifstream in(memberPath(treeDir, member));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        size_t start = line.find_first_not_of(' ');  // the player strips spaces, keeps tabs
        lines.push_back(start == std::string::npos ? "" : line.substr(start));
    }
    return lines;
}

bool has(const std::string& member) { return fs::is_regular_file(memberPath(treeDir, member)); }

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

std::string wordAfter(const std::string& line) {
    std::istringstream in(line);
    std::string keyword, word;
    in >> keyword >> word;
    return word;
}

struct Scene {
    std::vector<std::string> body;
    float duration = 0;  // last camera key
};

struct WorldIndex {
    std::map<std::string, std::string> sceneDirs;  // world -> scene directory
    std::vector<std::string> worldFiles;
};

WorldIndex readIndex() {
    WorldIndex index;
    std::string current;
    for (const std::string& line : linesOf("worlds.txt")) {
        if (startsWith(line, "world")) current = wordAfter(line);
        if (startsWith(line, "scenedir")) index.sceneDirs[current] = wordAfter(line);
        if (startsWith(line, "objects")) index.worldFiles.push_back(wordAfter(line));
    }
    for (const std::string& line : linesOf("env.txt")) {
        if (startsWith(line, "firstpass") || startsWith(line, "postpass")) index.worldFiles.push_back(wordAfter(line));
    }
    index.worldFiles.push_back("dynamic.txt");
    return index;
}

Scene readSceneFile(const std::string& member) {
    Scene scene;
    bool inCamera = false;
    for (const std::string& line : linesOf(member)) {
        if (startsWith(line, "KEYFRAMES")) inCamera = true;
        if (startsWith(line, "ENDKEYS")) inCamera = false;
        float t;
        if (inCamera && std::sscanf(line.c_str(), "time %f", &t) == 1) scene.duration = t;
        scene.body.push_back(line);
    }
    return scene;
}

// The sequencing rules of scene files, enough to follow a route: successor names from the
// variant counter, world switches, and the lines that only act with the Galaxy setting.
struct Route {
    const WorldIndex& index;
    bool galaxy;
    std::string world, file;
    int counter;

    std::string member() const { return index.sceneDirs.at(world) + file; }

    // Reads the current file and moves to its successor; the played duration comes back.
    float play() {
        Scene scene = readSceneFile(member());
        float range = 1.9f;
        for (const std::string& line : scene.body) {
            bool reg = startsWith(line, "reg");
            if (reg && !galaxy) continue;
            std::string rest = reg ? line.substr(3) : line;
            if (startsWith(rest, "next")) {
                int n = int(range), r = counter;
                while (n > 0 && r > n) r -= n + 1;
                file = wordAfter(rest) + std::to_string(n == 0 ? 0 : r) + ".txt";
            } else if (startsWith(rest, "world")) {
                world = wordAfter(rest);
            } else if (startsWith(rest, "random")) {
                range = std::stof(wordAfter(rest)) + 0.9f;
            } else if (startsWith(line, "cycle")) {
                counter = counter + 1 > 10 ? 0 : counter + 1;
            }
        }
        return scene.duration;
    }
};

bool treeBuilt() { return fs::is_regular_file(treeDir + "/worlds.txt"); }

// What half an hour of the show looks like: plays of each scene file, by start time.
struct HalfHour {
    std::set<std::string> worlds;
    std::map<std::string, std::vector<double>> plays;

    void add(double time, const std::string& world, const std::string& scene) {
        worlds.insert(world);
        plays[scene].push_back(time);
    }
    size_t mostPlays() const {
        size_t most = 0;
        for (const auto& [scene, times] : plays) most = std::max(most, times.size());
        return most;
    }
    double shortestGap() const {
        double gap = 1e9;
        for (const auto& [scene, times] : plays) {
            for (size_t i = 1; i < times.size(); ++i) gap = std::min(gap, times[i] - times[i - 1]);
        }
        return gap;
    }
    // The worlds and fifty scene files, none of them three times or twice in five minutes.
    void expectVariety(size_t leastWorlds) const {
        EXPECT_GE(worlds.size(), leastWorlds) << "worlds in half an hour";
        EXPECT_GE(plays.size(), 50u) << "different scene files in half an hour";
        EXPECT_LE(mostPlays(), 2u) << "plays of one scene file in half an hour";
        EXPECT_GE(shortestGap(), 300.0) << "seconds between two plays of one scene file";
    }
};

}  // namespace

TEST(ShowContent, EveryNamedMemberIsThereAndEveryLineFits) {
    if (!treeBuilt()) GTEST_SKIP() << "content not built (VOIDRIFT_CONTENT off)";
    WorldIndex index = readIndex();
    for (const char* g : galaxies) EXPECT_TRUE(index.sceneDirs.count(g)) << g;
    EXPECT_GE(index.sceneDirs.size(), 12u);
    for (const char* fixed : {"c.jpg", "load.jpg", "loadg.jpg", "music.ogg", "textures\\particle.jpg",
                              "meshes\\sphere.dat", "meshes\\env.dat"}) {
        EXPECT_TRUE(has(fixed)) << fixed;
    }
    std::set<std::string> dynamicNames;
    for (const std::string& file : index.worldFiles) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(has(file));
        std::vector<std::string> lines = linesOf(file);
        EXPECT_EQ(lines.back(), "ENDWORLD");
        std::set<std::string> named;
        for (const std::string& line : lines) {
            EXPECT_LE(line.size(), 127u) << line;
            std::string member;
            for (const char* key : {"texture", "\tmap1", "\tmap2", "\ttexture", "geometry"}) {
                if (startsWith(line, key)) member = wordAfter(line);
            }
            if (!member.empty()) {
                EXPECT_TRUE(has(member)) << line;
                EXPECT_LE(member.size(), 31u) << line;
            }
            if (startsWith(line, "begin")) {
                named.insert(wordAfter(line));
                EXPECT_LE(wordAfter(line).size(), 14u) << line;
            }
            if (startsWith(line, "parent")) {
                EXPECT_TRUE(named.count(wordAfter(line))) << line;
            }
        }
        if (file == "dynamic.txt") dynamicNames = named;
    }
    // scene files: objects they fly or look at are ships of dynamic.txt, worlds exist
    for (const auto& [world, dir] : index.sceneDirs) {
        for (int n = 0; n < 4; ++n) {
            std::string name = dir + "scene" + std::to_string(n) + ".txt";
            if (world.find("galaxy") != std::string::npos) {
                EXPECT_TRUE(has(name)) << name;
            }
        }
        std::string folder = dir.substr(0, dir.size() - 1);
        for (const auto& entry : fs::directory_iterator(treeDir + "/" + folder)) {
            std::string member = folder + "\\" + entry.path().filename().string();
            Scene scene = readSceneFile(member);
            EXPECT_GT(scene.duration, 5.0f) << member;
            for (const std::string& line : scene.body) {
                EXPECT_LE(line.size(), 127u) << member;
                if (startsWith(line, "set") || startsWith(line, "orient")) {
                    EXPECT_TRUE(dynamicNames.count(wordAfter(line))) << member << ": " << line;
                }
                if (startsWith(line, "world") || startsWith(line, "regworld")) {
                    EXPECT_TRUE(index.sceneDirs.count(wordAfter(line))) << member << ": " << line;
                }
            }
        }
    }
}

TEST(ShowContent, RoutesVisitEveryWorldNeverLoopWithinTwentyMinutesAndReturnToAGalaxy) {
    if (!treeBuilt()) GTEST_SKIP() << "content not built (VOIDRIFT_CONTENT off)";
    WorldIndex index = readIndex();
    for (bool galaxy : {true, false}) {
        for (const char* g : galaxies) {
            for (int n = 0; n < 4; ++n) {
                for (int c = 0; c < 4; ++c) {
                    SCOPED_TRACE(std::string(g) + " scene" + std::to_string(n) + " counter " + std::to_string(c) +
                                 (galaxy ? " galaxy on" : " galaxy off"));
                    Route route{index, galaxy, g, "scene" + std::to_string(n) + ".txt", c};
                    if (!galaxy) route.play();  // the opening scene is replaced at once
                    std::set<std::string> files, worlds;
                    std::set<std::tuple<std::string, std::string, int>> states;
                    double clock = 0;
                    int sinceGalaxy = 0, longestAway = 0;
                    bool repeated = false;
                    HalfHour halfHour;
                    while (clock < 1800) {
                        ASSERT_TRUE(has(route.member())) << route.member();
                        if (clock < 1200) {
                            files.insert(route.member());
                            worlds.insert(route.world);
                            repeated |= !states.insert({route.world, route.file, route.counter}).second;
                        }
                        halfHour.add(clock, route.world, route.member());
                        sinceGalaxy = route.world.find("galaxy") != std::string::npos ? 0 : sinceGalaxy + 1;
                        longestAway = std::max(longestAway, sinceGalaxy);
                        clock += route.play();
                    }
                    EXPECT_FALSE(repeated) << "the route repeats itself within twenty minutes";
                    EXPECT_GE(worlds.size(), galaxy ? index.sceneDirs.size() : 5u) << "worlds in twenty minutes";
                    EXPECT_GE(files.size(), galaxy ? 25u : 15u);
                    if (galaxy) EXPECT_LE(longestAway, 8) << "too long without a galaxy";
                    // without the galaxy scenes every other world still comes round
                    halfHour.expectVariety(galaxy ? index.sceneDirs.size() : index.sceneDirs.size() - 3);
                }
            }
        }
    }
}

TEST(ShowContent, ArchiveIsCleanAndTheSimulatedShowGoesEverywhere) {
    if (!fs::is_regular_file(dataDir + "/data.ssd")) GTEST_SKIP() << "data.ssd not built";
    TempDir temp;
    setenv("VOIDRIFT_CONFIG", temp.file("settings.ini").c_str(), 1);
    ScopedWorkingDir inData(dataDir);
    Settings saved = settings;
    settings.galaxy = true;

    std::FILE* report = std::tmpfile();
    EXPECT_EQ(checkShowData(report), 0);
    std::rewind(report);
    char line[512];
    while (std::fgets(line, sizeof line, report)) ADD_FAILURE() << "check: " << line;
    std::fclose(report);

    std::set<std::string> openers;
    for (std::uint32_t seed = 1; seed <= 40 && openers.size() < 3; ++seed) {
        RunOptions options;
        options.hasSeed = true;
        options.seed = seed;
        options.simulateSeconds = seed == 1 ? 1200 : 1;
        options.fixedDt = 0.05;
        std::FILE* out = std::tmpfile();
        ASSERT_EQ(runSimulation(options, out), 0);
        std::rewind(out);
        std::set<std::string> worlds, scenes;
        char world[64], scene[256];
        bool first = true;
        while (std::fgets(line, sizeof line, out)) {
            if (std::sscanf(line, "t=%*f world=%63s scene=%255s", world, scene) != 2) continue;
            if (first) openers.insert(world);
            first = false;
            worlds.insert(world);
            scenes.insert(scene);
        }
        std::fclose(out);
        if (seed == 1) {
            EXPECT_GE(worlds.size(), 8u) << "worlds visited in twenty minutes";
            EXPECT_GE(scenes.size(), 25u) << "different scene files in twenty minutes";
        }
    }
    EXPECT_EQ(openers.size(), 3u) << "every galaxy can open the show";
    settings = saved;
}

// The player's own half hour (--simulate 1800 --fixed-dt 0.05) at three seeds, and the data
// that carries it: a score of at least six minutes, and data.ssd under 8 MiB.
TEST(ShowContent, HalfAnHourOfTheShowRepeatsNoSceneTooSoonAndTheDataStaysSmall) {
    if (!fs::is_regular_file(dataDir + "/data.ssd")) GTEST_SKIP() << "data.ssd not built";
    EXPECT_LT(fs::file_size(dataDir + "/data.ssd"), 8u << 20);
    OggVorbis_File score;
    ASSERT_EQ(ov_fopen(memberPath(treeDir, "music.ogg").c_str(), &score), 0);
    EXPECT_GE(double(ov_pcm_total(&score, -1)) / ov_info(&score, -1)->rate, 360.0) << "seconds before the score loops";
    ov_clear(&score);

    TempDir temp;
    setenv("VOIDRIFT_CONFIG", temp.file("settings.ini").c_str(), 1);
    ScopedWorkingDir inData(dataDir);
    Settings saved = settings;
    settings.galaxy = true;
    for (std::uint32_t seed : {3u, 11u, 29u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RunOptions options;
        options.hasSeed = true;
        options.seed = seed;
        options.simulateSeconds = 1800;
        options.fixedDt = 0.05;
        std::FILE* out = std::tmpfile();
        ASSERT_EQ(runSimulation(options, out), 0);
        std::rewind(out);
        HalfHour halfHour;
        char line[512], world[64], scene[256];
        double time;
        while (std::fgets(line, sizeof line, out)) {
            if (std::sscanf(line, "t=%lf world=%63s scene=%255s", &time, world, scene) == 3) halfHour.add(time, world, scene);
        }
        std::fclose(out);
        halfHour.expectVariety(12);
    }
    settings = saved;
}
