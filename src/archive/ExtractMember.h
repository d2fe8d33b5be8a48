// Finds one member of an IMP archive by name and decodes it into a new buffer.
#pragma once

#include "archive/ByteSource.h"

#include <cstddef>
#include <cstdint>

// On success (0) `data` is a buffer from new[] of exactly `size` bytes, owned by the
// caller (null for an empty member), and *crcMatches (when given) tells whether the
// bytes match the entry's CRC; a mismatch is also written to stderr. A stream that
// fails or ends before the member is complete gives its result code (-5 for the
// early end) and hands over only the bytes that arrived. Otherwise data is null and
// size 0. Names match without regard to ASCII letter case.
int extractMember(const char* archivePath, const char* memberName, std::uint8_t*& data,
                  std::uint32_t& size, bool* crcMatches = nullptr);
// The same over an archive image already in memory.
int extractMemberFromMemory(const std::uint8_t* image, std::size_t imageSize,
                            const char* memberName, std::uint8_t*& data, std::uint32_t& size);
int extractMemberFromSource(ByteSource& source, const char* memberName, std::uint8_t*& data,
                            std::uint32_t& size, bool* crcMatches = nullptr);
