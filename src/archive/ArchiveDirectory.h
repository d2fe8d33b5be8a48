// The IMP container as read for lookup: where the archive starts, its header and
// comment, and the directory entries in order, block by decoded block.
#pragma once

#include "archive/ByteSource.h"
#include "archive/StreamDecoder.h"

#include <cstdint>

// Names and entry comments of any length are accepted: names are compared where
// they lie in the decoded directory and never copied into a fixed buffer.
struct DirectoryEntry {
    const char* name = nullptr;  // inside the directory buffer, not NUL-terminated
    std::uint32_t nameLength = 0;
    std::uint32_t commentLength = 0;
    std::uint8_t attributes = 0;
    std::uint32_t streamOffset = 0;  // of the data stream, from the archive start
    std::uint32_t headerOffset = 0;  // of the local header, in the decoded stream
    std::uint32_t size = 0;
    std::uint32_t crc = 0;
    std::uint16_t version = 0;
};

class ArchiveDirectory {
public:
    static constexpr std::uint32_t kBlockCapacity = 8192;
    static constexpr std::uint32_t kHeaderSize = 42;
    static constexpr std::uint32_t kEntrySize = 38;

    ArchiveDirectory(ByteSource& source, StreamDecoder& decoder)
        : source_(source), decoder_(decoder) {}

    // Finds the archive, checks the header and prints the comment. 0 or a result code.
    int open();
    // Reads the next entry: 1 with an entry, 0 after the last one, or a negative
    // result code (-4 damaged directory, -5, -1 for an entry needing a newer reader).
    int next(DirectoryEntry& entry);

    std::uint64_t archiveStart() const { return start_; }
    std::uint32_t entryCount() const { return entryCount_; }

private:
    int findArchiveStart();
    int readHeader();
    int printComment(std::uint32_t commentOffset);
    int readDirectoryBlock();

    ByteSource& source_;
    StreamDecoder& decoder_;
    std::uint64_t start_ = 0;
    std::uint32_t entryCount_ = 0;
    std::uint32_t entriesRead_ = 0;
    std::uint64_t nextBlock_ = 0;
    std::uint32_t used_ = 0;
    std::uint32_t available_ = 0;
    std::uint8_t block_[kBlockCapacity + StreamDecoder::kSlack];
};
