// The LZ block encoder: hash-chain match finding over the reader's window, a
// price-driven optimal parse (seeded by a lazy parse) that uses the two repeat
// distances, and Huffman table groups that switch where the statistics change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imppack/BitWriter.h"
#include "imppack/DeltaRegions.h"

struct LzParams {
    unsigned chainDepth = 24;   // candidates looked at per position
    unsigned niceLength = 128;  // a match this long is taken at once
    bool optimal = true;        // optimal parse after the lazy one (smaller, about twice the time)
};

class LzEncoder {
public:
    LzEncoder(const std::uint8_t* data, std::size_t size, LzParams params = {});

    // Writes data[start, start + length) as one LZ body (distance alphabets, table
    // groups, symbols). The reader's window then holds the `history` bytes before
    // start, which matches may use. Blocks must be encoded in increasing order.
    // The data are the LZ-stage bytes: with delta markers, the differences.
    void encodeBlock(BitWriter& out, std::size_t start, std::size_t length, std::size_t history,
                     const std::vector<DeltaMarker>& markers = {});

    // One coded item: a literal or a match, with its extra bits.
    struct Symbol {
        std::uint16_t litLen;      // literal/length symbol
        std::uint8_t lengthBits;   // extra bits after it
        std::uint8_t distAlphabet; // 0..2, or 0xFF for a literal
        std::uint8_t distSymbol;
        std::uint8_t distBits;
        std::uint32_t lengthExtra;
        std::uint32_t distExtra;
    };

    // Bits per symbol of each alphabet, from an earlier parse of the same block.
    struct Prices {
        std::uint32_t litLen[288];
        std::uint32_t dist[3][42];
    };

private:
    struct Match {
        std::uint32_t length = 0;
        std::uint32_t distance = 0;
        int cost = 0;  // estimated bits saved against literals
    };
    struct Candidate {
        std::uint32_t length;
        std::uint32_t distance;
    };
    struct Node {
        std::uint32_t price;
        std::uint32_t length;    // of the step that arrives here; 1 with distance 0 for a literal
        std::uint32_t distance;
        std::uint32_t rep0, rep1;
    };

    void insertUpTo(std::size_t position);
    void mark();
    void rewind();
    Match bestMatch(std::size_t position, std::size_t end, std::size_t minPosition);
    void findMatches(std::size_t position, std::size_t end, std::size_t minPosition, std::vector<Candidate>& found);
    std::uint32_t matchLength(std::size_t position, std::size_t candidate, std::size_t limit) const;
    void emitLiteral(std::size_t position, std::vector<Symbol>& symbols);
    void emitMatch(std::uint32_t length, std::uint32_t distance, std::vector<Symbol>& symbols);
    // Both parse data[from, to) and carry the repeat distances on from the call before.
    void parseLazy(std::size_t from, std::size_t to, std::size_t minPosition, std::vector<Symbol>& symbols);
    void parseOptimal(std::size_t from, std::size_t to, std::size_t minPosition, const Prices& prices,
                      std::vector<Symbol>& symbols);
    void parseBody(std::size_t start, std::size_t length, std::size_t history, const std::vector<DeltaMarker>& markers,
                   const Prices* prices, std::vector<Symbol>& symbols);
    std::size_t optimalSegment(std::size_t position, std::size_t end, std::size_t minPosition, const Prices& prices);
    void relax(std::size_t index, const Node& node);

    const std::uint8_t* data_;
    std::size_t size_;
    LzParams params_;
    std::vector<std::int32_t> head_;   // latest place of each 4-byte hash
    std::vector<std::int32_t> head3_;  // latest place of each 3-byte hash
    unsigned depth_;                   // chain candidates looked at in this pass
    bool recording_ = false;           // between mark() and rewind()
    std::size_t markedAt_ = 0;
    std::vector<std::int32_t> undo3_;  // 3-byte heads replaced since mark()
    std::vector<std::int32_t> chain_;  // ring indexed by position
    std::size_t inserted_ = 0;         // positions below this are in the chains
    std::uint32_t rep0_ = 0, rep1_ = 0;
    std::vector<Node> nodes_;          // optimal parse of one segment
    std::size_t filled_ = 0;           // nodes_ entries set up for the current segment
    std::vector<Candidate> candidates_;
    std::vector<Symbol>* pendingSymbols_ = nullptr;  // where the optimal parse emits
};

// Prices from the symbols of a parse: each symbol's code length under a Huffman
// code for the counts; symbols that did not occur cost a little more than the longest.
LzEncoder::Prices lzPrices(const std::vector<LzEncoder::Symbol>& symbols);
