#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/CheckData.h"
#include "support/ScriptArchive.h"

namespace {

const char* kTrack =
    "KEYFRAMES\nkeyframe\ntime 0\nend\nkeyframe\ntime 5\nend\nENDKEYS\n";

MemberTexts cleanShow() {
    MemberTexts m = {
        {"meshes\\env.dat", "x"},
        {"music.ogg", "OggS music"},
        {"meshes\\sphere.dat", "x"},
        {"textures\\particle.jpg", "x"},
        {"textures\\sky.jpg", "x"},
        {"meshes\\ship.dat", "x"},
        {"env.txt", "env space\nfirstpass sky.txt\nend\nENV_END\n"},
        {"sky.txt", "sphere\nbegin Sky\nenv\ntexture textures\\sky.jpg\nend\nENDWORLD\n"},
        {"worlds.txt", "world blue_galaxy\nenv space\nscenedir g\\\nend\n"
                       "world green_galaxy\nenv space\nscenedir g\\\nend\n"
                       "world red_galaxy\nenv space\nscenedir g\\\nend\n"
                       "world deep\nenv space\nscenedir d\\\nend\nWORLD_END\n"},
        {"dynamic.txt", "geometry meshes\\ship.dat\nmesh\nbegin ship\nposition V(0 0 0)\nend\n"
                        "flame\nbegin f\nparent ship\nend\nENDWORLD\n"},
    };
    for (int i = 0; i < 4; ++i)
        m.push_back({"g\\scene" + std::to_string(i) + ".txt",
                     std::string("scene\n") + kTrack + "next hop\nworld deep\nend\n"});
    for (int i = 0; i < 2; ++i)
        m.push_back({"d\\hop" + std::to_string(i) + ".txt",
                     std::string("scene\n\n") + kTrack + "set ship\n" + (kTrack + 10) +
                         "orient ship\nfout 4 5\ncycle\nnext hop\nend\n"});
    return m;
}

std::vector<std::string> check(int& count) {
    std::FILE* out = std::tmpfile();
    count = checkShowData(out);
    std::rewind(out);
    std::vector<std::string> lines;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, out)) lines.push_back(buffer);
    std::fclose(out);
    return lines;
}

bool mentions(const std::vector<std::string>& lines, const std::string& a, const std::string& b = "") {
    for (const std::string& line : lines)
        if (line.find(a) != std::string::npos && line.find(b) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(CheckData, CleanShowPrintsNothing) {
    ScriptArchive archive(cleanShow());
    int count = -1;
    std::vector<std::string> lines = check(count);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(lines.empty()) << lines[0];
    EXPECT_EQ(runCheckData(stdout), 0);
}

TEST(CheckData, ReportsEachProblemOnce) {
    MemberTexts m = cleanShow();
    auto replace = [&m](const std::string& name, const std::string& text) {
        for (auto& member : m)
            if (member.first == name) member.second = text;
    };
    replace("env.txt", "env space\nfirstpass sky.txt\nfirstpass gone.txt\nbogus line\nend\nENV_END\n");
    replace("worlds.txt", "world green_galaxy\nenv nosuch\nscenedir g\\\nend\n"
                          "world red_galaxy\nenv space\nscenedir g\\\nend\n"
                          "world deep\nenv space\nscenedir d\\\nend\nWORLD_END\n");
    replace("dynamic.txt", "mesh\nbegin ship\nwobble\nmaterial\n\tmetal\n\tchrome\n\tmap1 textures\\hull.jpg\n"
                           "\tmap2 textures\\sky.jpg\nend\nbillboard\nbegin b\nparent Nobody V(0 0 0)\nend\n");
    replace("g\\scene0.txt", "scene\nKEYFRAMES\nkeyframe\ntime 2\nend\nkeyframe\ntime 2\nend\nENDKEYS\n"
                             "world nowhere\nset ghost\nkeyframe\ntime 1\nend\nENDKEYS\nrandom 2\n"
                             "next hop\nworld deep\nend\n");
    int count = 0;
    std::vector<std::string> lines;
    {
        ScriptArchive archive(m);
        lines = check(count);
        EXPECT_EQ(runCheckData(std::tmpfile()), 1);
    }
    EXPECT_EQ(count, int(lines.size()));
    EXPECT_TRUE(mentions(lines, "gone.txt: missing", "env.txt"));
    EXPECT_TRUE(mentions(lines, "env.txt:4:", "bogus line"));
    EXPECT_TRUE(mentions(lines, "worlds.txt:2:", "nosuch"));
    EXPECT_TRUE(mentions(lines, "no opening world \"blue_galaxy\""));
    EXPECT_TRUE(mentions(lines, "dynamic.txt:3:", "wobble"));
    EXPECT_TRUE(mentions(lines, "textures\\hull.jpg: missing"));
    EXPECT_TRUE(mentions(lines, "dynamic.txt", "Nobody"));
    EXPECT_TRUE(mentions(lines, "dynamic.txt", "ENDWORLD"));
    EXPECT_TRUE(mentions(lines, "g\\scene0.txt:8:", "key times"));
    EXPECT_TRUE(mentions(lines, "g\\scene0.txt", "\"nowhere\""));
    EXPECT_TRUE(mentions(lines, "g\\scene0.txt", "\"ghost\""));
    EXPECT_TRUE(mentions(lines, "g\\scene0.txt:15:", "two keys"));
    // "random 2" allows hop0 to hop2; hop2 is not in the archive.
    EXPECT_TRUE(mentions(lines, "d\\hop2.txt: missing scene"));
    EXPECT_FALSE(mentions(lines, "hop3"));
    EXPECT_FALSE(mentions(lines, "sky.jpg"));

    // Checksums are checked for every member, music and scripts too, each named.
    std::vector<char> bytes;
    {
        ScriptArchive archive(cleanShow());
        std::ifstream in("data.ssd", std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        // Stored members lie in the file as they are: one digit or letter changes in each.
        for (const std::string text : {"OggS music", "fout 4 5"}) {
            auto at = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
            ASSERT_NE(at, bytes.end()) << text;
            at[5] ^= 1;
        }
        std::ofstream("data.ssd", std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        lines = check(count);
        EXPECT_EQ(runCheckData(std::tmpfile()), 1);
    }
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(mentions(lines, "music.ogg: fails its CRC check"));
    EXPECT_TRUE(mentions(lines, "d\\hop0.txt: fails its CRC check"));

    // No archive at all.
    TempDir empty;
    ScopedWorkingDir cwd(empty.path());
    lines = check(count);
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(mentions(lines, "data.ssd"));
}
