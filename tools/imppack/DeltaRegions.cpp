#include "imppack/DeltaRegions.h"

#include <cmath>

namespace {

constexpr std::size_t kChunk = 8192;      // at most 128 markers in a block of 1 MiB, far below 1024
constexpr unsigned kMaxDistance = 4;      // 1: grey or mono 8-bit, 2: 16-bit, 3: RGB, 4: RGBA or stereo
constexpr double kMinGainBits = 0.75;     // per byte, against the plain bytes

double entropy(const std::size_t* counts, std::size_t total) {
    double bits = 0;
    for (int v = 0; v < 256; ++v)
        if (counts[v]) bits -= counts[v] * std::log2(static_cast<double>(counts[v]) / total);
    return bits / total;
}

// The best delta distance for the chunk, or 0 when plain bytes are as good.
unsigned chooseDistance(const std::uint8_t* data, std::size_t from, std::size_t to, std::size_t earliest) {
    std::size_t counts[kMaxDistance + 1][256] = {};
    std::size_t total = 0;
    for (std::size_t i = from; i < to; ++i) {
        if (i < earliest + kMaxDistance) continue;
        ++counts[0][data[i]];
        for (unsigned k = 1; k <= kMaxDistance; ++k) ++counts[k][static_cast<std::uint8_t>(data[i] - data[i - k])];
        ++total;
    }
    if (total < 256) return 0;
    double plain = entropy(counts[0], total);
    unsigned best = 0;
    double bestBits = plain - kMinGainBits;
    for (unsigned k = 1; k <= kMaxDistance; ++k) {
        double bits = entropy(counts[k], total);
        if (bits < bestBits) {
            bestBits = bits;
            best = k;
        }
    }
    return best;
}

}  // namespace

std::vector<DeltaMarker> planDeltaRegions(const std::uint8_t* data, std::size_t start, std::size_t length,
                                          std::size_t windowStart) {
    std::vector<DeltaMarker> markers;
    unsigned current = 0;
    for (std::size_t chunk = start; chunk < start + length; chunk += kChunk) {
        std::size_t end = std::min(start + length, chunk + kChunk);
        unsigned k = chooseDistance(data, chunk, end, windowStart);
        if (k == current) continue;
        std::size_t position = chunk;
        if (k != 0 && position < windowStart + k) position = windowStart + k;  // the byte k before must exist
        if (position >= end) continue;
        markers.push_back({position, k});
        current = k;
    }
    return markers;
}

void applyDeltaRegions(std::uint8_t* lzStage, const std::uint8_t* data, std::size_t start, std::size_t length,
                       const std::vector<DeltaMarker>& markers) {
    const std::size_t blockEnd = start + length;
    for (std::size_t i = start; i < blockEnd; ++i) lzStage[i] = data[i];
    for (std::size_t m = 0; m < markers.size(); ++m) {
        unsigned k = markers[m].distance;
        if (k == 0) continue;
        std::size_t end = m + 1 < markers.size() ? markers[m + 1].position : blockEnd;
        // The reader adds, in increasing order, the byte k before as its window holds
        // it: final bytes inside this block, LZ-stage bytes of the history before it.
        for (std::size_t i = markers[m].position; i < end; ++i) {
            std::uint8_t before = i - k >= start ? data[i - k] : lzStage[i - k];
            lzStage[i] = static_cast<std::uint8_t>(data[i] - before);
        }
    }
}
