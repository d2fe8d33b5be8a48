// BWT blocks: several prefix codes chosen every 50 symbols, move-to-front with
// bijective base-2 zero runs, then the inverse transform over one packed vector.
#include "archive/ArchiveResult.h"
#include "archive/BwtInverse.h"
#include "archive/StreamDecoder.h"

#include <cstring>
#include <new>

using namespace archive_result;

namespace {

constexpr int kSymbols = 258;
constexpr int kEndSymbol = 257;
constexpr int kSelectorList = 6;
constexpr int kSymbolsPerChoice = 50;
constexpr std::uint32_t kNoEnd = 0xFFFFFFFFu;

struct MoveToFront {
    std::uint8_t bytes[256];
    MoveToFront() {
        for (int i = 0; i < 256; ++i) bytes[i] = static_cast<std::uint8_t>(i);
    }
    std::uint8_t take(int place) {
        std::uint8_t b = bytes[place];
        std::memmove(bytes + 1, bytes, static_cast<std::size_t>(place));
        bytes[0] = b;
        return b;
    }
};

}  // namespace

int StreamDecoder::readBwtCodes(int& codeCount) {
    codeCount = static_cast<int>(bits_.readBits(3));
    if (codeCount == 0) return kDamaged;
    DecoderTables& t = *tables_;
    for (int i = 0; i < codeCount; ++i) {
        int result = readCodeLengths(bits_, t.precode, t.lengths, kSymbols, 1, 0);
        if (result != 0) return result;
        if (!t.bwt[i].build(t.lengths, kSymbols, PrefixCode::kLiteralBits)) return kDamaged;
    }
    bits_.alignToByte();
    return 0;
}

// Fills positions 0..size of the block from the symbols and counts each byte value.
// endPosition is where symbol 257 stood, kNoEnd without one. 0 or -3.
int StreamDecoder::decodeBwtSymbols(std::uint8_t* block, std::uint32_t size, int codeCount,
                                    std::uint32_t* counts, std::uint32_t& endPosition) {
    const std::uint32_t positions = size + 1;
    MoveToFront mtf;
    std::uint8_t selectors[kSelectorList] = {0, 1, 2, 3, 4, 5};
    const PrefixCode* code = nullptr;
    endPosition = kNoEnd;
    std::uint32_t run = 1, position = 0;
    int counter = kSymbolsPerChoice;
    BitCursor c;
    c.take(bits_.cursor);
    while (position < positions) {
        BitReader::refill(c, bits_);
        if (counter == kSymbolsPerChoice) {
            std::uint32_t look = BitReader::peek(c, 8);
            int j = 0;
            while (j < 8 && (look >> j) & 1) ++j;
            // The list holds six codes: a seventh choice names none of them.
            if (j >= codeCount || j >= kSelectorList) return kDamaged;
            BitReader::drop(c, static_cast<unsigned>(j + 1));
            std::uint8_t chosen = selectors[j];
            std::memmove(selectors + 1, selectors, static_cast<std::size_t>(j));
            selectors[0] = chosen;
            code = &tables_->bwt[chosen];
            counter = 0;
            continue;
        }
        ++counter;
        int s = code->decode<PrefixCode::kLiteralBits>(c);
        if (s < 0) return kDamaged;
        if (s <= 1) {
            std::uint32_t n = run << s;
            if (n > positions - position) n = positions - position;
            std::uint8_t b = mtf.bytes[0];
            std::memset(block + position, b, n);
            counts[b] += n;
            position += n;
            if (run < (1u << 24)) run *= 2;
        } else if (s < kEndSymbol) {
            std::uint8_t b = mtf.take(s - 1);
            block[position++] = b;
            counts[b]++;
            run = 1;
        } else {
            // A second end position would leave a byte-less place inside the vector.
            if (endPosition != kNoEnd) return kDamaged;
            endPosition = position++;
            run = 1;
        }
    }
    bits_.cursor.take(c);
    return 0;
}

int StreamDecoder::decodeBwtBody(std::uint8_t* destination, std::uint32_t size) {
    const std::uint8_t offset = static_cast<std::uint8_t>(bits_.readBits(8));
    int codeCount = 0;
    int result = readBwtCodes(codeCount);
    if (result != 0) return result;
    if (size + 1 > transformCapacity_) {
        delete[] transform_;
        transform_ = new (std::nothrow) std::uint32_t[size + 1];
        transformCapacity_ = transform_ ? size + 1 : 0;
        if (!transform_) return kOutOfMemory;
    }
    std::uint32_t counts[256] = {};
    std::uint32_t endPosition = 0;
    result = decodeBwtSymbols(destination, size, codeCount, counts, endPosition);
    if (result != 0) return result;
    // Without an end symbol the end position is 0 and the byte written there drops out.
    if (endPosition == kNoEnd) {
        endPosition = 0;
        counts[destination[0]]--;
    }
    inverseBwt(destination, size, endPosition, counts, transform_, offset);
    return 0;
}
