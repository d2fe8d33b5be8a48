#include "archive/CodeLengths.h"

#include "archive/ArchiveResult.h"

#include <cstring>

using namespace code_lengths;

void fixedCodeLengths(std::uint8_t* d, std::uint32_t fill) {
    std::memset(d, 8, 244);
    std::memset(d + 244, 9, 261 - 244);
    d[256] = 0;
    std::memset(d + 261, 10, 266 - 261);
    std::memset(d + 266, 11, 288 - 266);
    std::uint8_t* d0 = d + kDistance0At;
    if (fill > 8192) {
        std::memset(d0, 5, 22);
        std::memset(d0 + 22, 6, 42 - 22);
    } else {
        std::memset(d0, 4, 4);
        std::memset(d0 + 4, 5, 28 - 4);
        std::memset(d0 + 28, 0, 42 - 28);
    }
    std::uint8_t* d1 = d + kDistance1At;
    std::memset(d1, 3, 2);
    std::memset(d1 + 2, 4, 14 - 2);
}

namespace {

constexpr int kPrecodeCount = 21;
constexpr std::uint32_t kRunCap = 1u << 24;  // runs are cut at the destination's end anyway

int readPrecode(BitReader& reader, PrefixCode& precode) {
    std::uint8_t lengths[kPrecodeCount] = {};
    std::uint32_t position = 0, multiplier = 1;
    while (position < kPrecodeCount) {
        std::uint32_t v = reader.readBits(5);
        if (v <= 1) {
            position += multiplier << v;
            if (multiplier < kRunCap) multiplier *= 2;
        } else if (v <= 17) {
            lengths[position++] = static_cast<std::uint8_t>(v - 1);
            multiplier = 1;
        } else {
            return archive_result::kDamaged;
        }
    }
    return precode.build(lengths, kPrecodeCount, PrefixCode::kPrecodeBits) ? 0 : archive_result::kDamaged;
}

}  // namespace

int readCodeLengths(BitReader& reader, PrefixCode& precode, std::uint8_t* d, int alphabetSize,
                    int groupCount, std::uint32_t fill) {
    if (groupCount == 0) {
        fixedCodeLengths(d, fill);
        return 0;
    }
    int result = readPrecode(reader, precode);
    if (result != 0) return result;
    const std::uint32_t total = static_cast<std::uint32_t>(groupCount * alphabetSize);
    const std::uint32_t size = static_cast<std::uint32_t>(alphabetSize);
    std::uint32_t position = 0, zeroRun = 1, repeatRun = 1;
    int current = 0;
    while (position < total) {
        BitReader::refill(reader.cursor, reader);
        int s = precode.decode<PrefixCode::kPrecodeBits>(reader.cursor);
        if (s < 0) return archive_result::kDamaged;
        if (s <= 16) {
            int previous = position >= size ? d[position - size] : 0;
            current = previous != 0 ? s + previous : current + s;
            if (current > 16) current -= 17;
            d[position++] = static_cast<std::uint8_t>(current);
            zeroRun = repeatRun = 1;
        } else if (s <= 18) {
            std::uint32_t n = zeroRun << (s - 17);
            if (n > total - position) n = total - position;
            std::memset(d + position, 0, n);
            position += n;
            if (zeroRun < kRunCap) zeroRun *= 2;
            repeatRun = 1;
        } else {
            std::uint32_t n = repeatRun << (s - 19);
            if (n > total - position) n = total - position;
            for (; n > 0; --n, ++position) {
                if (position >= size && d[position - size] != 0) current = d[position - size];
                d[position] = static_cast<std::uint8_t>(current);
            }
            if (repeatRun < kRunCap) repeatRun *= 2;
            zeroRun = 1;
        }
    }
    for (std::uint32_t i = 0; i < total; ++i)
        if (d[i] > 16) return archive_result::kDamaged;
    return 0;
}
