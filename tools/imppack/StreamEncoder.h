// Encodes one decoded data stream (members' records back to back) as a chain of
// blocks, choosing per block between the requested method and stored bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "imppack/ArchiveWriter.h"

// The blocks of the stream, starting with the first block's header (the 6 bytes
// in front of it are the caller's). `method` may be Best.
std::vector<std::uint8_t> encodeStream(const std::vector<std::uint8_t>& decoded, Method method,
                                       std::uint32_t blockSize);

// Writes a block's compressed size into the 20 header bits after method, flag and
// decoded size (bits 25 to 44), the same place in data and directory blocks.
void patchCompressedSize(std::vector<std::uint8_t>& block, std::uint32_t size);

// The reader's window as it stands at each block start: how many bytes of history
// an LZ block may refer to. Mirrors the decoder's rules for keeping history.
struct WindowModel {
    std::uint64_t history = 0;    // H after the cut for the current block
    std::uint64_t capacity = 0;   // Cap
    std::uint64_t lastSize = 0;   // B of the previous block
    bool first = true;

    // Call before the block is written; returns the history it may use.
    std::uint64_t beginLzBlock(std::uint64_t size);
    std::uint64_t beginPlainBlock(std::uint64_t size, bool last);  // stored or BWT

private:
    void startBlock(std::uint64_t size);
};

// History kept for LZ blocks after the first: row 2, column 7 of the window-size table.
constexpr std::uint32_t kLzHistoryRow = 2;
constexpr std::uint32_t kLzHistoryColumn = 7;
constexpr std::uint64_t kLzHistoryKept = 524288;
