// Decodes an IMP data stream block by block into one window that keeps a tail of
// earlier output (the history) for matches. One decoder per extraction.
#pragma once

#include "archive/BitReader.h"
#include "archive/ByteSource.h"
#include "archive/CodeLengths.h"
#include "archive/PrefixCode.h"

#include <cstdint>

// The code tables, allocated once per decoder: they are too large for the stack.
struct DecoderTables {
    static constexpr int kMaxGroups = 63;
    static constexpr int kMaxGroupSize = 372;
    static constexpr int kMaxBwtCodes = 7;
    PrefixCode precode;
    PrefixCode literal;
    PrefixCode distance[3];
    PrefixCode bwt[kMaxBwtCodes];
    std::uint8_t lengths[kMaxGroups * kMaxGroupSize];
};

class StreamDecoder {
public:
    static constexpr std::uint32_t kSlack = 512;
    static constexpr int kMaxDeltaRecords = 1024;
    static constexpr std::uint32_t kMinBlockBytes = 6;  // a block header takes 45 bits

    explicit StreamDecoder(ByteSource& source);
    ~StreamDecoder();
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;

    // False when the code tables cannot be had.
    bool ready() const { return tables_ != nullptr; }

    // Starts a fresh stream whose first block header lies at `firstBlock`.
    void start(std::uint64_t firstBlock);
    // Decodes the next block. Returns 0 or a negative result code. Must not be
    // called once streamEnded() is true.
    int decodeBlock();
    bool streamEnded() const { return started_ && last_; }

    // The current block's output and where it lies in the decoded stream.
    const std::uint8_t* blockData() const { return window_ + history_; }
    std::uint32_t blockSize() const { return blockSize_; }
    std::uint64_t blockOffset() const { return streamOffset_; }
    bool hasBlock() const { return started_; }

    // One LZ body into windowStart + history, `size` bytes at most. With deltas the
    // markers are recorded for applyDeltaRegions; without they are read and ignored.
    // Returns the number of bytes produced or a negative result code.
    int decodeLzBody(std::uint8_t* windowStart, std::uint32_t history, std::uint32_t size,
                     bool withDeltas);
    BitReader& bits() { return bits_; }
    DecoderTables& tables() { return *tables_; }

private:
    int readBlockHeader(unsigned& method, std::uint32_t& compressed);
    int decodeLzBlock(bool first);
    int decodeWholeBlock(unsigned method);
    int growWindow(std::uint32_t capacity);
    void keepHistory(std::uint32_t keep);
    void applyDeltaRegions(std::uint32_t end);
    void reencodeDeltaRegions(std::uint32_t keptStart);
    int decodeBwtBody(std::uint8_t* destination, std::uint32_t size);
    int readBwtCodes(int& codeCount);
    int decodeBwtSymbols(std::uint8_t* block, std::uint32_t size, int codeCount,
                         std::uint32_t* counts, std::uint32_t& endPosition);
    int switchLzGroup(int& group, int groups, int groupSize, int alphabets,
                      const std::uint8_t* lengths);

    ByteSource& source_;
    BitReader bits_;
    DecoderTables* tables_ = nullptr;

    std::uint8_t* window_ = nullptr;
    std::uint32_t capacity_ = 0;
    std::uint32_t history_ = 0;
    std::uint32_t blockSize_ = 0;
    std::uint64_t streamOffset_ = 0;
    std::uint64_t blockStart_ = 0;
    bool started_ = false;  // a block has been decoded
    bool last_ = false;

    std::uint32_t deltaPosition_[kMaxDeltaRecords];
    std::uint8_t deltaDistance_[kMaxDeltaRecords];
    int deltaCount_ = 0;

    std::uint32_t* transform_ = nullptr;  // the BWT vector, grown as blocks need
    std::uint32_t transformCapacity_ = 0;
};
