// The container: finding the archive, header and comment checks, the directory and
// name lookup, and the result codes of damaged or refused archives.
#include "ArchiveBuilder.h"

#include "archive/ArchiveResult.h"
#include "archive/Crc32.h"
#include "archive/ExtractMember.h"

#include <gtest/gtest.h>

using namespace archive_result;

namespace {

ArchiveBuilder threeMembers() {
    ArchiveBuilder b;
    b.addStoredMember({"env.txt", toBytes("env a\nend\n")});
    b.addStoredMember({"meshes\\env.dat", toBytes("MESH")});
    b.addStoredMember({"empty.txt", {}});
    return b;
}

}  // namespace

TEST(Container, LooksUpMembersByName) {
    for (bool compressed : {false, true}) {
        ArchiveBuilder b = threeMembers();
        b.compressedDirectory = compressed;
        Bytes archive = b.build(), out;
        EXPECT_EQ(extract(archive, "env.txt", out), 0);
        EXPECT_EQ(out, toBytes("env a\nend\n"));
        EXPECT_EQ(extract(archive, "MESHES\\Env.DAT", out), 0) << "case does not matter";
        EXPECT_EQ(out, toBytes("MESH"));
        EXPECT_EQ(extract(archive, "meshes/env.dat", out), kNotFound) << "slash is not backslash";
        EXPECT_EQ(extract(archive, "meshes\\env.da", out), kNotFound) << "whole names only";
        EXPECT_EQ(extract(archive, "env.txt2", out), kNotFound);
        EXPECT_EQ(extract(archive, "empty.txt", out), 0);
        EXPECT_TRUE(out.empty());
    }
}

TEST(Container, FirstFileEntryWinsAndFolderEntriesAreSkipped) {
    ArchiveBuilder b;
    TestMember folder{"dup", toBytes("folder")};
    folder.attributes = 1;
    b.addStoredMember(folder);
    b.addStoredMember({"DUP", toBytes("first")});
    b.addStoredMember({"dup", toBytes("second")});
    Bytes out;
    EXPECT_EQ(extract(b.build(), "dup", out), 0);
    EXPECT_EQ(out, toBytes("first"));
}

TEST(Container, WrongCrcStillDelivers) {
    ArchiveBuilder b;
    TestMember m{"a", toBytes("hello")};
    m.crc = 12345;
    m.crcGiven = true;
    b.addStoredMember(m);
    Bytes out;
    testing::internal::CaptureStderr();
    EXPECT_EQ(extract(b.build(), "a", out), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "File fails CRC error check\n");
    EXPECT_EQ(out, toBytes("hello"));
}

TEST(Container, FindsArchiveAfterAPrefix) {
    ArchiveBuilder b = threeMembers();
    Bytes out;
    b.prefix.assign(32768 - 42, 'x');  // signature at the last place that counts
    EXPECT_EQ(extract(b.build(), "env.txt", out), 0);
    b.prefix.assign(32768 - 41, 'x');
    EXPECT_EQ(extract(b.build(), "env.txt", out), kNotImp);
    EXPECT_EQ(extract(Bytes(43, 'I'), "env.txt", out), kNotImp);
    EXPECT_EQ(extract(Bytes(44, 0), "env.txt", out), kNotImp);
    // A signature too close to the end for a whole header is not an archive start.
    Bytes late(100, 'x');
    late[60] = 'I', late[61] = 'M', late[62] = 'P', late[63] = '\n';
    EXPECT_EQ(extract(late, "a", out), kNotImp);
}

TEST(Container, HeaderResultCodes) {
    Bytes out;
    Bytes good = threeMembers().build();
    for (std::size_t bit = 0; bit < 42 * 8; bit += 37) {
        Bytes bad = good;
        bad[bit / 8] ^= std::uint8_t(1u << (bit % 8));
        EXPECT_EQ(extract(bad, "env.txt", out), bit < 32 ? kNotImp : kDamaged) << bit;
    }
    ArchiveBuilder b = threeMembers();
    b.entryCountOverride = 0;
    EXPECT_EQ(extract(b.build(), "env.txt", out), kNotFound);
    b = threeMembers();
    b.flags = 1;
    EXPECT_EQ(extract(b.build(), "env.txt", out), kMultiVolume);
    b.flags = 4;
    EXPECT_EQ(extract(b.build(), "env.txt", out), kEnciphered);
    b.flags = 5;
    EXPECT_EQ(extract(b.build(), "env.txt", out), kMultiVolume);
    b.flags = 2;  // other bits are not read
    EXPECT_EQ(extract(b.build(), "env.txt", out), 0);

    Bytes farDirectory = good;
    put32(farDirectory, 4, static_cast<std::uint32_t>(good.size() + 1));
    fixCheck(farDirectory, 0, 42, 40);
    EXPECT_EQ(extract(farDirectory, "env.txt", out), kUnexpectedEnd);

    std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    EXPECT_EQ(extractMember("/nonexistent/data.ssd", "env.txt", data, size), kNotFound);
    EXPECT_EQ(data, nullptr);
}

TEST(Container, CommentIsPrintedAndChecked) {
    ArchiveBuilder b = threeMembers();
    b.comment = "Voidrift data";
    Bytes archive = b.build(), out;
    testing::internal::CaptureStdout();
    EXPECT_EQ(extract(archive, "env.txt", out), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nVoidrift data\n");

    std::size_t commentAt = archive[16] | archive[17] << 8;
    Bytes bad = archive;
    bad[commentAt + 4] ^= 1;
    testing::internal::CaptureStdout();
    EXPECT_EQ(extract(bad, "env.txt", out), kDamaged);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    bad = archive;
    put32(bad, 16, static_cast<std::uint32_t>(archive.size() + 1));
    fixCheck(bad, 0, 42, 40);
    EXPECT_EQ(extract(bad, "env.txt", out), kUnexpectedEnd);
    bad = archive;
    put16(bad, commentAt, 4000);  // the text would run past the end of the file
    EXPECT_EQ(extract(bad, "env.txt", out), kUnexpectedEnd);
}

TEST(Container, DamagedDirectoryMeansNotFound) {
    Bytes good = threeMembers().build(), out;
    std::size_t entry = firstEntryOffset(good);
    std::size_t tag = entry - 12;

    Bytes bad = good;
    bad[tag + 4] = 'X';
    EXPECT_EQ(extract(bad, "env.txt", out), kNotFound) << "wrong block tag";
    bad = good;
    bad[entry + 38] ^= 0x20;  // the name, without fixing the check value
    EXPECT_EQ(extract(bad, "env.txt", out), kNotFound);
    bad = good;
    put16(bad, entry, 0x10B);
    fixCheck(bad, entry, 38 + 7, 36);
    EXPECT_EQ(extract(bad, "env.txt", out), kNotFound) << "needs a newer reader";
    put16(bad, entry, 0xF10A);  // only the low 12 bits are the version
    fixCheck(bad, entry, 38 + 7, 36);
    EXPECT_EQ(extract(bad, "env.txt", out), 0);
    bad = good;
    put16(bad, entry + 26, 60000);  // a name longer than the decoded directory
    EXPECT_EQ(extract(bad, "env.txt", out), kNotFound);
    // An entry after a damaged one is not reached either.
    bad = good;
    bad[entry + 38] ^= 0x20;
    EXPECT_EQ(extract(bad, "empty.txt", out), kNotFound);
    // More entries claimed than the directory holds: the search runs out safely.
    bad = good;
    put32(bad, 8, 1000000);
    fixCheck(bad, 0, 42, 40);
    EXPECT_EQ(extract(bad, "empty.txt", out), 0);
    EXPECT_EQ(extract(bad, "missing", out), kNotFound);
}

TEST(Container, LongNamesAndCommentsAreAccepted) {
    ArchiveBuilder b;
    std::string longName(400, 'n');
    TestMember m{longName, toBytes("long")};
    m.comment = std::string(200, 'c');
    m.extra = Bytes(50, 1);
    b.addStoredMember(m);
    Bytes out;
    EXPECT_EQ(extract(b.build(), longName.c_str(), out), 0);
    EXPECT_EQ(out, toBytes("long"));
}

TEST(Container, DirectorySpanningBlocks) {
    ArchiveBuilder b;
    for (int i = 0; i < 400; ++i)
        b.addStoredMember({"member" + std::to_string(i), toBytes("data " + std::to_string(i))});
    for (bool compressed : {false, true}) {
        b.compressedDirectory = compressed;
        Bytes archive = b.build(), out;
        EXPECT_EQ(extract(archive, "member399", out), 0);
        EXPECT_EQ(out, toBytes("data 399"));
    }
}
