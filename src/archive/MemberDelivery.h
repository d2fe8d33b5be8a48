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

// Decodes the member into a new buffer (from new[], owned by the caller, null when
// nothing arrived) that grows only as bytes really come out of the stream, and gives
// the CRC of the delivered bytes. 0 when all `size` bytes arrived; otherwise the
// result code (-5 for a stream that ends before the member does) with `delivered`
// telling how many bytes the buffer holds.
int deliverMember(StreamDecoder& decoder, const MemberLocation& member, std::uint8_t*& buffer,
                  std::uint32_t& delivered, std::uint32_t& crc);

// Translates the call operands of member bytes [from, available) in place, as far
// as whole operands are present. `size` is the member's full size. Returns the
// offset up to which bytes are final.
std::uint32_t filterCallAddresses(std::uint8_t* member, std::uint32_t from, std::uint32_t available,
                                  std::uint32_t size, int width);
