// CRC-32 (reflected polynomial 0xEDB88320, the Ethernet / zip one) and the
// 16-bit check values that archive headers, comments and directory entries carry.
#pragma once

#include <cstddef>
#include <cstdint>

// CRC-32 of n bytes. Chains like zlib's: crc32(b, nb, crc32(a, na)) equals the
// CRC of a followed by b; previous = 0 starts a fresh CRC.
std::uint32_t crc32(const void* data, std::size_t n, std::uint32_t previous = 0);

// Raw register update without the initial and final complement, for callers that
// keep the register themselves (start at 0xFFFFFFFF, complement at the end).
std::uint32_t crc32Update(std::uint32_t reg, const void* data, std::size_t n);
// The same update while copying the n bytes to `to` (the ranges must not overlap):
// one pass over the bytes instead of a copy and a second read.
std::uint32_t crc32UpdateCopy(std::uint32_t reg, void* to, const void* from, std::size_t n);

// Low 16 bits of the CRC-32 of a record whose 2-byte check field, at checkOffset,
// counts as zero. checkOffset >= n means the record has no check field inside it.
std::uint16_t checkValue16(const void* record, std::size_t n, std::size_t checkOffset);
