// What an archive holds, as `imppack list` and `imppack test` show it: every
// directory entry with the size and methods of the data stream behind it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/ByteSource.h"

struct ListedMember {
    std::string name;
    std::uint32_t size = 0;
    std::uint32_t crc = 0;
    std::uint8_t attributes = 0;
    std::uint32_t streamOffset = 0;
    std::uint64_t packedSize = 0;  // of the whole data stream, block heads included
    std::string methods;           // "stored", "lz", "bwt" or a '+'-joined mix; "-" without data
    bool sharedStream = false;     // other members use the same stream (solid archive)
};

// Reads the directory in order. Returns 0 or the reader's result code; the
// members read before a damaged entry are kept.
int listArchive(ByteSource& source, std::vector<ListedMember>& members);
