// CRC-32 over whole 16-byte blocks by carry-less multiplication (folding), where
// the processor has it. Used by Crc32.cpp; the table code handles the rest.
#pragma once

#include <cstddef>
#include <cstdint>

namespace crc32_folding {

// True when this processor can run advance() (checked once).
bool available();

// Advances the raw register over the first n - n % 16 bytes (n >= 64), copying them
// to `to` unless it is null. Returns the new register.
std::uint32_t advance(std::uint32_t reg, std::uint8_t* to, const std::uint8_t* from, std::size_t n);

}  // namespace crc32_folding
