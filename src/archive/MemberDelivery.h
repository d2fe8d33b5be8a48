// Takes one member's bytes out of its decoded data stream: local header, variable
// part, then the bytes themselves through the call-address filter and the CRC.
#pragma once

#include "archive/StreamDecoder.h"

#include <cstdint>

struct MemberLocation {
    std::uint64_t firstBlock = 0;     // file offset of the stream's first block header
    std::uint32_t headerOffset = 0;   // P: the local header's offset in the decoded stream
    std::uint32_t size = 0;           // N
    int filterWidth = 0;              // W: 0, 2 or 4
};

// Fills buffer (size bytes; what the stream did not deliver is set to zero) and
// gives the CRC register for the comparison: the final CRC when every byte arrived,
// the uncomplemented register when the stream ended early. 0 or a result code.
int deliverMember(StreamDecoder& decoder, const MemberLocation& member, std::uint8_t* buffer,
                  std::uint32_t& crc);

// Translates the call operands of member bytes [from, available) in place, as far
// as whole operands are present. `size` is the member's full size. Returns the
// offset up to which bytes are final.
std::uint32_t filterCallAddresses(std::uint8_t* member, std::uint32_t from, std::uint32_t available,
                                  std::uint32_t size, int width);
