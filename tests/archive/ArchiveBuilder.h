// Hand-made IMP archives for the reader's tests: blocks are written field by field so
// that every edge of the format (and every kind of damage) can be produced on purpose.
#pragma once

#include "imppack/BitWriter.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Canonical prefix codes from lengths, as the reader assigns them.
struct TestCode {
    std::vector<std::uint32_t> codes;
    std::vector<std::uint8_t> lengths;
    explicit TestCode(const std::vector<std::uint8_t>& lengths);
    void put(BitWriter& w, int symbol) const { w.putCode(codes.at(symbol), lengths.at(symbol)); }
};

// The fixed group's lengths (344) for a window fill.
std::vector<std::uint8_t> fixedLengths(std::uint32_t fill);

// Writes groups of lengths (groups * alphabet) with a pre-code that gives every
// pre-code symbol 5 bits, each length as a delta against the rule's base.
void putCodeLengths(BitWriter& w, const std::vector<std::uint8_t>& lengths, int alphabet);

// The 45-bit block header; the compressed size is patched by finishBlock.
void putBlockHeader(BitWriter& w, unsigned method, bool last, std::uint32_t size);
Bytes finishBlock(BitWriter& w);  // patches the compressed size with the byte count

Bytes storedBlock(const Bytes& data, bool last);
// A BWT block of `data` with one code (all 258 symbols 9 bits) and offset O. When the
// transform ends in a zero run, extraRun makes it that much longer (*extended = true).
Bytes bwtBlock(const Bytes& data, bool last, std::uint8_t offset = 0, std::uint32_t extraRun = 0,
               bool* extended = nullptr);

// Writes LZ symbols with the fixed group (N = 0) or given groups.
class LzBody {
public:
    // groups empty: fixed group for `fill`.
    LzBody(BitWriter& w, int alphabets, const std::vector<std::vector<std::uint8_t>>& groups,
           std::uint32_t fill);
    void literal(int byte) { lit_.put(w_, byte); }
    void literals(const std::string& text) {
        for (unsigned char ch : text) literal(ch);
    }
    void nextGroup();
    void marker(unsigned k);
    // Length 2..10 by the short symbols; distance by symbol d (with its extra bits).
    void match(std::uint32_t length, int distanceSymbol, std::uint32_t extra = 0);
    // A distance 1..4 or one of the long-distance symbols, picked for `distance`.
    void matchDistance(std::uint32_t length, std::uint32_t distance);

private:
    void useGroup(int g);
    BitWriter& w_;
    int alphabets_;
    std::vector<std::vector<std::uint8_t>> groups_;
    int group_ = 0;
    TestCode lit_, d0_, d1_, d2_;
};

struct TestMember {
    TestMember(std::string n, Bytes d) : name(std::move(n)), data(std::move(d)) {}
    std::string name;
    Bytes data;                 // the bytes as the stream carries them
    std::uint8_t attributes = 0;
    std::uint16_t version = 0x10A;
    std::uint32_t crc = 0;      // 0: the CRC of `data` (or of `crcOver` when given)
    bool crcGiven = false;
    std::string comment;
    Bytes extra;
};

class ArchiveBuilder {
public:
    ArchiveBuilder();
    // Appends a data stream (6 unread bytes, then the blocks); returns its offset.
    std::uint32_t addStream(const std::vector<Bytes>& blocks);
    // A directory entry pointing at a stream and a local header offset within it.
    void addEntry(const TestMember& m, std::uint32_t streamOffset, std::uint32_t headerOffset);
    // A member stored alone in its own stream (local header + bytes, one stored block).
    void addStoredMember(const TestMember& m);
    // The decoded form of a record: the 11-byte local header, variable part, bytes.
    static Bytes record(const Bytes& data, std::uint16_t variable = 0);

    std::string comment;
    bool compressedDirectory = false;
    std::uint16_t flags = 0;
    Bytes prefix;  // bytes before the archive (a self-extractor)
    std::int64_t entryCountOverride = -1;

    Bytes build() const;

private:
    Bytes body_;  // everything after the 42-byte header
    std::vector<Bytes> entries_;
};

void put16(Bytes& b, std::size_t at, std::uint32_t v);
void put32(Bytes& b, std::size_t at, std::uint32_t v);
Bytes toBytes(const std::string& s);
// Rewrites a 16-bit check value after a test has changed a record.
void fixCheck(Bytes& b, std::size_t recordAt, std::size_t length, std::size_t checkAt);
// Offset of the first directory entry (stored directory) in a built archive.
std::size_t firstEntryOffset(const Bytes& archive);

// Runs the reader over an image; the buffer is returned in `out`.
int extract(const Bytes& archive, const char* name, Bytes& out);
