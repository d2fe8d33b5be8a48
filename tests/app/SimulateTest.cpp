#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/Simulate.h"
#include "script/Settings.h"
#include "support/ScriptArchive.h"

namespace {

std::string track(int lastKeyTime) {
    return "KEYFRAMES\nkeyframe\ntime 0\nposition V(0 0 0)\nquaternion Q(0 0 0 1)\nend\n"
           "keyframe\ntime " + std::to_string(lastKeyTime) +
           "\nposition V(10 0 0)\nquaternion Q(0 0 0 1)\nend\nENDKEYS\n";
}

// The show's generator, written out here to predict the opening draws.
struct Lcg {
    std::uint32_t state;
    int draw() {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7fff);
    }
};
int scaled(int draw, float factor) { return int(float(draw) / 32767.0f * factor); }

MemberTexts show(bool withGalaxies = true) {
    MemberTexts m;
    m.push_back({"env.txt", "env space\nend\nENV_END\n"});
    std::string worlds;
    if (withGalaxies)
        for (const char* g : {"blue_galaxy", "green_galaxy", "red_galaxy"})
            worlds += std::string("world ") + g + "\nenv space\nscenedir gal\\\nend\n";
    worlds += "world deep\nenv space\nscenedir deep\\\nend\nWORLD_END\n";
    m.push_back({"worlds.txt", worlds});
    m.push_back({"dynamic.txt", "mesh\nbegin ship\nend\nENDWORLD\n"});
    for (int i = 0; i < 4; ++i)
        m.push_back({"gal\\scene" + std::to_string(i) + ".txt",
                     "scene\n" + track(10) + "next tour\nregnext special\nworld deep\nend\n"});
    m.push_back({"deep\\tour0.txt", "scene\n" + track(4) + "cycle\nnext tour\nend\n"});
    m.push_back({"deep\\tour1.txt", "scene\n" + track(6) + "cycle\nset ship\n" + track(1).substr(10) +
                                        "next tour\nend\n"});
    m.push_back({"deep\\special0.txt", "scene\n" + track(3) + "next tour\nend\n"});
    m.push_back({"deep\\special1.txt", "scene\n" + track(3) + "next tour\nend\n"});
    return m;
}

std::vector<std::string> simulate(double seconds, double dt, std::uint32_t seed) {
    RunOptions options;
    options.simulateSeconds = seconds;
    options.fixedDt = dt;
    options.hasSeed = true;
    options.seed = seed;
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(runSimulation(options, out), 0);
    std::rewind(out);
    std::vector<std::string> lines;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, out)) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines.push_back(line);
    }
    std::fclose(out);
    return lines;
}

std::string line(double t, const std::string& world, const std::string& scene) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, "t=%.3f world=%s scene=%s", t, world.c_str(), scene.c_str());
    return buffer;
}

class Simulation : public ::testing::Test {
protected:
    void SetUp() override { saved = settings; }
    void TearDown() override { settings = saved; }
    Settings saved;
};

const char* kGalaxies[3] = {"blue_galaxy", "green_galaxy", "red_galaxy"};

}  // namespace

TEST_F(Simulation, GalaxyOffSkipsTheOpeningAndChainsTours) {
    ScriptArchive archive(show());
    ASSERT_TRUE(archive.ok());
    settings.galaxy = false;
    settings.timeScale = 0;
    for (std::uint32_t seed : {7u, 1234u, 99999u}) {
        Lcg lcg{seed};
        int n = scaled(lcg.draw(), 3.9f);
        int g = scaled(lcg.draw(), 2.9f);
        int c = scaled(lcg.draw(), 3.8f);
        std::vector<std::string> lines = simulate(25, 0.5, seed);
        // The opening scene, then its successor in the first frame, read from the world
        // that the opening scene switched to.
        std::vector<std::string> expected = {
            line(0, kGalaxies[g], "gal\\scene" + std::to_string(n) + ".txt")};
        int counter = c;
        double t = 0.5;
        double length = 0;
        // The first tour starts with the clock at one frame; every later one at 0.
        double clock = 0.5;
        while (t <= 25) {
            int variant = counter % 2;
            expected.push_back(line(t, "deep", "deep\\tour" + std::to_string(variant) + ".txt"));
            ++counter;  // both tours cycle
            length = variant == 0 ? 4 : 6;
            t += length - clock;
            clock = 0;
        }
        EXPECT_EQ(lines, expected) << "seed " << seed;
    }
}

TEST_F(Simulation, GalaxyOnPlaysTheOpeningAtItsSpeed) {
    ScriptArchive archive(show());
    settings.galaxy = true;
    settings.timeScale = 1;  // scene time runs 1.5 times as fast
    Lcg lcg{42};
    int n = scaled(lcg.draw(), 3.9f);
    int g = scaled(lcg.draw(), 2.9f);
    int c = scaled(lcg.draw(), 3.8f);
    std::vector<std::string> lines = simulate(12, 0.25, 42);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], line(0, kGalaxies[g], "gal\\scene" + std::to_string(n) + ".txt"));
    // 10 scene seconds at 1.5x end within the frame at 6.75 s; "regnext" wins over "next".
    EXPECT_EQ(lines[1], line(6.75, "deep", "deep\\special" + std::to_string(c % 2) + ".txt"));
    // 3 scene seconds later: 2 s of main-loop time.
    EXPECT_EQ(lines[2], line(8.75, "deep", "deep\\tour" + std::to_string(c % 2) + ".txt"));
}

TEST_F(Simulation, MissingOpeningWorldAndSceneFiles) {
    MemberTexts m = show(false);
    m.push_back({"scene0.txt", "scene\nnext nowhere\nend\n"});
    ScriptArchive archive(m);
    settings.galaxy = false;
    settings.timeScale = 0;
    std::vector<std::string> lines = simulate(3, 0.5, 5);
    // No galaxy worlds: the first world of the list opens the show. A scene file that
    // cannot be opened gives an empty scene that never ends.
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 29), "t=0.000 world=deep scene=deep");
    EXPECT_EQ(lines[1].substr(0, 29), "t=0.500 world=deep scene=deep");
}
