// Archive images whose check values are put right before reading: the fuzzer's changes
// to sizes, offsets and attributes of the header and of stored directory entries then
// reach the member decoding instead of stopping at a check value. Run with a memory
// limit, this is what finds a size claim that the reader would allocate in full.
#include <cstring>
#include <vector>

#include "ExtractChecks.h"
#include "archive/Crc32.h"

namespace {

std::uint32_t le(const std::vector<std::uint8_t>& a, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | a[at + i];
    return v;
}

void putCheck(std::vector<std::uint8_t>& a, std::size_t at, std::size_t n, std::size_t checkOffset) {
    std::uint16_t check = checkValue16(a.data() + at, n, checkOffset);
    a[at + checkOffset] = static_cast<std::uint8_t>(check);
    a[at + checkOffset + 1] = static_cast<std::uint8_t>(check >> 8);
}

// Entries of the stored directory blocks (method 0), block after block.
void sealDirectory(std::vector<std::uint8_t>& a, std::size_t block, std::uint32_t entries) {
    for (int blocks = 0; entries > 0 && blocks < 64 && block + 12 <= a.size(); ++blocks) {
        if (std::memcmp(&a[block], "IMPDE", 6) != 0) return;
        std::uint64_t head = 0;
        for (int i = 5; i >= 0; --i) head = head << 8 | a[block + 6 + i];
        std::uint32_t method = head & 0x1F, decoded = (head >> 5) & 0xFFFFF, compressed = (head >> 25) & 0xFFFFF;
        if ((method & 0xF) != 0 || compressed < 6) return;
        std::size_t at = block + 12, end = at + decoded;
        while (entries > 0 && at + 38 <= end && at + 38 <= a.size()) {
            std::size_t length = 38 + le(a, at + 26, 2) + a[at + 10] + le(a, at + 24, 2);
            if (at + length > end || at + length > a.size()) return;
            putCheck(a, at, length, 36);
            at += length;
            --entries;
        }
        block += 6 + compressed;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 44) return 0;
    std::vector<std::uint8_t> a(data, data + size);
    putCheck(a, 0, 42, 40);
    sealDirectory(a, le(a, 4, 4), le(a, 8, 4));
    extractAndTouch(a.data(), a.size(), {"m", "meshes\\env.dat", "a.txt"});
    return 0;
}
