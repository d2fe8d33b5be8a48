// The imppack command end to end: create from a folder tree, list, cat, test.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "TestCorpus.h"
#include "archive/Crc32.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

const std::string kTool = std::string(VOIDRIFT_BINARY_DIR) + "/tools/imppack/imppack";

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// `limits` runs first in the same shell (e.g. a file-size limit for the tool).
ToolRun run(const TempDir& dir, const std::string& args, const std::string& limits = "") {
    std::string out = dir.file("stdout.txt"), err = dir.file("stderr.txt");
    std::string command = "cd '" + dir.path().string() + "' && " + limits + " '" + kTool + "' " + args + " >'" + out +
                          "' 2>'" + err + "'";
    int status = std::system(command.c_str());
    ToolRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
}

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class CommandLine : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(kTool)) << "build the imppack target first: " << kTool;
        writeFile(dir.path() / "content" / "env.txt", corpus::text(3000));
        writeFile(dir.path() / "content" / "meshes" / "env.dat", corpus::records(9000));
        writeFile(dir.path() / "content" / "meshes" / "sphere.dat", corpus::records(5000, 9));
        writeFile(dir.path() / "content" / "empty.txt", {});
        writeFile(dir.path() / "loose.bin", corpus::calls(4000));
    }
    TempDir dir;
};

TEST_F(CommandLine, CreateListCatTest) {
    ToolRun created = run(dir, "create data.ssd --comment 'made by a test' content loose.bin");
    ASSERT_EQ(created.exitCode, 0) << created.err;

    ToolRun listed = run(dir, "list data.ssd");
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_NE(listed.out.find("made by a test"), std::string::npos) << "the comment is shown";
    std::size_t env = listed.out.find("meshes\\env.dat");
    std::size_t sphere = listed.out.find("meshes\\sphere.dat");
    ASSERT_NE(env, std::string::npos) << listed.out;
    EXPECT_LT(env, sphere) << "members sorted by name";
    EXPECT_NE(listed.out.find("loose.bin"), std::string::npos);
    char crc[16];
    std::vector<std::uint8_t> envBytes = corpus::records(9000);
    std::snprintf(crc, sizeof crc, "%08x", crc32(envBytes.data(), envBytes.size()));
    EXPECT_NE(listed.out.find(crc, env), std::string::npos);

    ToolRun cat = run(dir, "cat data.ssd 'MESHES\\ENV.DAT'");
    EXPECT_EQ(cat.exitCode, 0);
    EXPECT_TRUE(cat.out == std::string(envBytes.begin(), envBytes.end())) << "member bytes only, no comment";

    ToolRun missing = run(dir, "cat data.ssd 'meshes/env.dat'");
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_NE(missing.err.find("-1"), std::string::npos) << missing.err;

    ToolRun tested = run(dir, "test data.ssd");
    EXPECT_EQ(tested.exitCode, 0) << tested.out;
    EXPECT_NE(tested.out.find("OK    meshes\\sphere.dat"), std::string::npos) << tested.out;

    // The same input gives the same archive.
    ASSERT_EQ(run(dir, "create again.ssd --comment 'made by a test' content loose.bin").exitCode, 0);
    EXPECT_EQ(slurp(dir.file("data.ssd")), slurp(dir.file("again.ssd")));
}

TEST_F(CommandLine, EveryOptionGivesAnArchiveThatTests) {
    const char* variants[] = {"--method stored", "--method lz --solid", "--method bwt --block-size 5000",
                              "--filter e8 --stored-directory", "--filter e8w --solid --method best"};
    for (const char* options : variants) {
        ToolRun created = run(dir, std::string("create v.ssd ") + options + " content loose.bin");
        ASSERT_EQ(created.exitCode, 0) << options << ": " << created.err;
        ToolRun tested = run(dir, "test v.ssd");
        EXPECT_EQ(tested.exitCode, 0) << options << ": " << tested.out;
        EXPECT_NE(tested.out.find("0 of 5 members failed"), std::string::npos) << tested.out;
    }
    EXPECT_EQ(run(dir, "create v.ssd --method zip content").exitCode, 2);
    EXPECT_EQ(run(dir, "create v.ssd --block-size 0 content").exitCode, 2);
    EXPECT_NE(run(dir, "create v.ssd no_such_folder").exitCode, 0);
    EXPECT_EQ(run(dir, "frobnicate").exitCode, 2);
}

TEST_F(CommandLine, CrcMismatchIsReportedButStillDelivered) {
    ASSERT_EQ(run(dir, "create d.ssd --stored-directory loose.bin").exitCode, 0);
    std::string a = slurp(dir.file("d.ssd"));
    // First entry of the stored directory block: tag (6), head (6), then 38 bytes + name.
    std::size_t directory = static_cast<std::uint8_t>(a[4]) | (static_cast<std::uint8_t>(a[5]) << 8);
    std::size_t entry = directory + 12;
    std::size_t entryLength = 38 + 9;  // "loose.bin"
    a[entry + 20] ^= 0x55;
    a[entry + 36] = a[entry + 37] = 0;
    std::uint16_t check = checkValue16(a.data() + entry, entryLength, 36);
    a[entry + 36] = static_cast<char>(check & 0xFF);
    a[entry + 37] = static_cast<char>(check >> 8);
    std::ofstream(dir.file("d.ssd"), std::ios::binary) << a;

    // The bytes and the warning still go out, but a script sees the failure.
    ToolRun cat = run(dir, "cat d.ssd loose.bin");
    EXPECT_EQ(cat.exitCode, 3);
    EXPECT_EQ(cat.out.size(), 4000u);
    EXPECT_NE(cat.err.find("File fails CRC error check"), std::string::npos);
    ToolRun help = run(dir, "--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("cat exits 3"), std::string::npos) << help.out;
    ToolRun tested = run(dir, "test d.ssd");
    EXPECT_NE(tested.exitCode, 0);
    EXPECT_NE(tested.out.find("FAIL  loose.bin"), std::string::npos) << tested.out;
}

TEST_F(CommandLine, CreateStoresLinksByTheirOwnNamesAndRefusesShadowedOrEmptyArchives) {
    const fs::path content = dir.path() / "content";
    writeFile(dir.path() / "outside" / "hostname", {'h', 'o', 's', 't'});
    fs::create_symlink("../outside/hostname", content / "host.txt");
    fs::create_symlink("env.txt", content / "alias.txt");
    ToolRun created = run(dir, "create links.ssd content");
    ASSERT_EQ(created.exitCode, 0) << created.err;
    ToolRun listed = run(dir, "list links.ssd");
    EXPECT_EQ(listed.out.find(".."), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("env.txt"), std::string::npos) << listed.out;
    EXPECT_EQ(run(dir, "cat links.ssd host.txt").out, "host");
    EXPECT_EQ(run(dir, "cat links.ssd alias.txt").out, slurp((content / "env.txt").string()));

    fs::create_directories(dir.path() / "nothing" / "inside");
    ToolRun empty = run(dir, "create empty.ssd nothing");
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.err.find("no files"), std::string::npos) << empty.err;
    EXPECT_FALSE(fs::exists(dir.path() / "empty.ssd"));

    // Names the show could not tell apart: letter case (the first and last letters too),
    // and a backslash inside a file name.
    const std::pair<std::string, std::string> clashes[] = {
        {"Case.txt", "case.txt"}, {"Apex.txt", "apex.txt"}, {"Zeta.txt", "zeta.txt"}, {"a/b.txt", "a\\b.txt"}};
    int pair = 0;
    for (const auto& [first, second] : clashes) {
        fs::path folder = dir.path() / ("clash" + std::to_string(++pair));
        writeFile(folder / first, {1});
        writeFile(folder / second, {2});
        ToolRun clash = run(dir, "create clash.ssd " + folder.string());
        EXPECT_EQ(clash.exitCode, 1) << first;
        EXPECT_NE(clash.err.find(first), std::string::npos) << clash.err;
        EXPECT_NE(clash.err.find(second), std::string::npos) << clash.err;
        EXPECT_FALSE(fs::exists(dir.path() / "clash.ssd"));
    }
}

TEST_F(CommandLine, AFailedWriteLeavesTheOldArchiveWhole) {
    ASSERT_EQ(run(dir, "create data.ssd loose.bin").exitCode, 0);
    const std::string before = slurp(dir.file("data.ssd"));
    writeFile(dir.path() / "big" / "noise.bin", corpus::randomBytes(200000));
    // A file-size limit stands in for a full disk: writes past 64 KiB fail.
    ToolRun full = run(dir, "create data.ssd --method stored big", "trap '' XFSZ; ulimit -f 64;");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_NE(full.err.find("cannot write"), std::string::npos) << full.err;
    EXPECT_TRUE(slurp(dir.file("data.ssd")) == before) << "the old archive is untouched";
    EXPECT_FALSE(fs::exists(dir.path() / "data.ssd.partial"));
    // Without the limit the new archive replaces the old one.
    ASSERT_EQ(run(dir, "create data.ssd --method stored big").exitCode, 0);
    EXPECT_EQ(run(dir, "cat data.ssd noise.bin").out.size(), 200000u);
}

}  // namespace
