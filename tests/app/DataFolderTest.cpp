#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/DataFolder.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

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
    EXPECT_EQ(findDataFolder(dataFolderCandidates("", "", hackFolder)), installed);
    EXPECT_EQ(findDataFolder(dataFolderCandidates("", " \t", (prefix.path() / "bin").string())), installed);

    EXPECT_EQ(findDataFolder(dataFolderCandidates("", "  /srv/show \t", hackFolder)), "/srv/show");
    EXPECT_EQ(findDataFolder(dataFolderCandidates("/opt/show", "/srv/show", hackFolder)), "/opt/show");

    // Nothing anywhere: the first place looked at is the one the failure names.
    TempDir empty;
    std::string lonely = (empty.path() / "bin").string();
    EXPECT_EQ(findDataFolder(dataFolderCandidates("", "", lonely)), (empty.path() / "share" / "voidrift").string());
    EXPECT_EQ(findDataFolder(dataFolderCandidates("", "", "")), "");
}

}  // namespace
