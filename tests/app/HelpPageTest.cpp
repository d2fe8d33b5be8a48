#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/HelpPage.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

// Beside the data of an installed tree (Linux), or beside the program itself (Windows);
// nothing when the page was not installed.
TEST(HelpPage, FoundBesideTheDataOrTheProgram) {
    TempDir prefix;
    fs::create_directories(prefix.path() / "share" / "voidrift");
    fs::create_directories(prefix.path() / "libexec" / "xscreensaver");
    std::string hackFolder = (prefix.path() / "libexec" / "xscreensaver").string() + "/";
    EXPECT_EQ(findHelpPage(hackFolder), "");
    std::ofstream(prefix.path() / "share" / "voidrift" / "voidrift.html") << "<html>";
    EXPECT_EQ(fs::path(findHelpPage(hackFolder)), prefix.path() / "share" / "voidrift" / "voidrift.html");

    TempDir beside;
    std::ofstream(beside.path() / "voidrift.html") << "<html>";
    EXPECT_EQ(fs::path(findHelpPage(beside.path().string())), beside.path() / "voidrift.html");
    EXPECT_EQ(findHelpPage(""), "");
}

}  // namespace
