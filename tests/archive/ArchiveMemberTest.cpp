// The member object: opening "data.ssd" by name, byte reads that never leave the
// buffer, and the script line reader's rules.
#include "ArchiveBuilder.h"

#include "archive/ArchiveMember.h"
#include "archive/ArchiveResult.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace {

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class ArchiveMemberTest : public testing::Test {
protected:
    void SetUp() override {
        ArchiveBuilder b;
        b.addStoredMember({"ab", toBytes("ab")});
        b.addStoredMember({"empty", {}});
        b.addStoredMember({"meshes\\env.dat", toBytes("mesh")});
        b.addStoredMember({"lines.txt", toBytes("   world x\n\tworld x\r\nfout 1 2\r\na\rb\n\n    \nlast")});
        b.addStoredMember({"long.txt", toBytes(std::string(300, 'L') + "\nnext")});
        b.addStoredMember({longName, toBytes("far")});
        writeFile(dir.file("data.ssd"), b.build());
    }
    TempDir dir;
    std::string longName = std::string(150, 'q') + ".txt";
};

}  // namespace

TEST_F(ArchiveMemberTest, OpensByNameFromTheWorkingDirectory) {
    ScopedWorkingDir cwd(dir.path());
    ArchiveMember m;
    EXPECT_EQ(m.open("MESHES\\ENV.DAT"), 0);
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(std::memcmp(m.data(), "mesh", 4), 0);
    EXPECT_STREQ(m.name(), "MESHES\\ENV.DAT");
    m.close();
    EXPECT_EQ(m.data(), nullptr);
    EXPECT_EQ(m.size(), 0u);

    // The name field keeps 99 characters; the lookup still uses the whole name.
    EXPECT_EQ(m.open(longName.c_str()), 0);
    EXPECT_EQ(std::strlen(m.name()), 99u);
    EXPECT_EQ(std::string(m.name()), longName.substr(0, 99));
    EXPECT_EQ(m.size(), 3u);

    // A missing member: negative result, empty, every read ends at once.
    EXPECT_EQ(m.open("missing"), archive_result::kNotFound);
    EXPECT_EQ(m.data(), nullptr);
    char line[ArchiveMember::kLineCapacity];
    EXPECT_FALSE(m.readLine(line));
    EXPECT_STREQ(line, "");
    EXPECT_EQ(m.openFrom(dir.file("data.ssd").c_str(), "ab"), 0);
    EXPECT_EQ(m.size(), 2u);
}

TEST_F(ArchiveMemberTest, ReadsStopAtTheEnd) {
    ArchiveMember m;
    ASSERT_EQ(m.openFrom(dir.file("data.ssd").c_str(), "ab"), 0);
    char c = 0;
    m.read(&c, 1);
    EXPECT_EQ(c, 'a');
    m.read(&c, 1);
    EXPECT_EQ(c, 'b');
    EXPECT_FALSE(m.atEnd()) << "reading the last byte is not yet the end";
    c = '?';
    m.read(&c, 1);
    EXPECT_EQ(c, '?') << "nothing is copied past the end";
    EXPECT_TRUE(m.atEnd());
    c = '?';
    m.readUnlessAtEnd(&c, 1);
    EXPECT_EQ(c, '?');

    // A read that straddles the end copies the part inside and moves by the full count.
    ASSERT_EQ(m.openFrom(dir.file("data.ssd").c_str(), "ab"), 0);
    char buffer[8] = "xxxxxxx";
    m.read(buffer + 1, 5);
    EXPECT_STREQ(buffer, "xabxxxx");
    EXPECT_EQ(m.position(), 5u);
    m.read(buffer, 0xFFFFFFFFu);  // a huge count neither copies nor wraps the position around
    EXPECT_TRUE(m.atEnd());

    ASSERT_EQ(m.openFrom(dir.file("data.ssd").c_str(), "empty"), 0);
    EXPECT_EQ(m.data(), nullptr);
    char line[ArchiveMember::kLineCapacity] = "junk";
    EXPECT_FALSE(m.readLine(line));
    EXPECT_STREQ(line, "");
}

TEST_F(ArchiveMemberTest, ReadLineRules) {
    ArchiveMember m;
    ASSERT_EQ(m.openFrom(dir.file("data.ssd").c_str(), "lines.txt"), 0);
    char line[ArchiveMember::kLineCapacity];
    const char* expected[] = {"world x", "\tworld x", "fout 1 2", "ab", "", ""};
    for (const char* e : expected) {
        EXPECT_TRUE(m.readLine(line));
        EXPECT_STREQ(line, e);
    }
    // The last line has no line feed: it comes whole, and the member is then exhausted.
    EXPECT_FALSE(m.readLine(line));
    EXPECT_STREQ(line, "last");
    EXPECT_FALSE(m.readLine(line));
    EXPECT_STREQ(line, "");

    // An over-long line is cut to 127 characters and the rest of it skipped.
    ASSERT_EQ(m.openFrom(dir.file("data.ssd").c_str(), "long.txt"), 0);
    char guarded[ArchiveMember::kLineCapacity + 8];
    std::memset(guarded, '#', sizeof guarded);
    EXPECT_TRUE(m.readLine(guarded));
    EXPECT_EQ(std::strlen(guarded), 127u);
    EXPECT_EQ(guarded[ArchiveMember::kLineCapacity], '#') << "nothing written past the buffer";
    EXPECT_FALSE(m.readLine(line));
    EXPECT_STREQ(line, "next");
}
