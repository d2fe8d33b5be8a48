// The call-address filter as the packer applies it: the inverse of the reader's
// translation, so that the reader delivers the original bytes.
#pragma once

#include <cstdint>
#include <vector>

// width 4: 32-bit operands, width 2: 16-bit operands. Works in place on a whole member.
void encodeCallAddresses(std::vector<std::uint8_t>& member, unsigned width);

// How many 0xE8 operands look like near calls: a cheap test of whether the filter pays.
std::size_t countLikelyCalls(const std::vector<std::uint8_t>& member, unsigned width);
