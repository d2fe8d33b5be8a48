#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/DataFolder.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::string found(const DataFolderCandidates& candidates) { return findDataFolder(candidates).folder; }

// An installed tree under any prefix: the program in libexec/xscreensaver (or reached
// through bin/) finds PREFIX/share/voidrift; a folder the user names is the only one
// tried, blanks around "Path" and all.
TEST(DataFolder, FoundFromTheProgramsPlaceUnlessTheUserNamesOne) {
    TempDir prefix;
    fs::create_directories(prefix.path() / "share" / "voidrift");
    fs::create_directories(prefix.path() / "libexec" / "xscreensaver");
    fs::create_directories(prefix.path() / "bin");
    std::ofstream(prefix.path() / "share" / "voidrift" / "data.ssd") << "x";
    std::string installed = (prefix.path() / "share" / "voidrift").string();

    std::string hackFolder = (prefix.path() / "libexec" / "xscreensaver").string() + "/";
    EXPECT_EQ(found(dataFolderCandidates("", "", hackFolder)), installed);
    EXPECT_EQ(found(dataFolderCandidates("", " \t", (prefix.path() / "bin").string())), installed);

    std::string named = (prefix.path() / "share").string();  // a folder, but not the data's
    EXPECT_EQ(dataFolderCandidates("", "  " + named + " \t", hackFolder).folders, std::vector<std::string>{named});
    EXPECT_EQ(dataFolderCandidates(named, installed, hackFolder).folders, std::vector<std::string>{named});
    EXPECT_EQ(found(dataFolderCandidates(named, installed, hackFolder)), "");
}

// Data that is not there: the message says "data.ssd not found" and names every folder
// looked in, in order (never a folder that was not), or the one the user named and why.
TEST(DataFolder, NotFoundNamesTheFoldersSearched) {
    TempDir prefix;
    fs::create_directories(prefix.path() / "libexec" / "xscreensaver");
    std::string hack = (prefix.path() / "libexec" / "xscreensaver").string();
    std::string p = prefix.path().string();
    EXPECT_EQ(findDataFolder(dataFolderCandidates("", "", hack)).problem,
              "data.ssd not found in \"" + p + "/libexec/share/voidrift\", \"" + p + "/share/voidrift\" or \"" + hack + "\"");

    DataFolderSearch empty = findDataFolder(dataFolderCandidates(p, "", hack));
    EXPECT_EQ(empty.folder, "");
    EXPECT_EQ(empty.problem, "data.ssd not found in \"" + p + "\"") << "what the user named";

    std::string missing = p + "/nowhere";
    std::string problem = findDataFolder(dataFolderCandidates(missing, "", hack)).problem;
    EXPECT_EQ(problem.rfind("data.ssd not found: the data folder \"" + missing + "\" cannot be used (", 0), 0u) << problem;
    std::ofstream(p + "/plain") << "x";
    EXPECT_EQ(findDataFolder(dataFolderCandidates("", p + "/plain", hack)).problem,
              "data.ssd not found: \"" + p + "/plain\" is not a folder");
    EXPECT_EQ(findDataFolder(dataFolderCandidates("", "", "")).problem, "data.ssd not found: no folder to look in");
}

}  // namespace
