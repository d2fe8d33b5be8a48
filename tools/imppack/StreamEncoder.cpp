#include "imppack/StreamEncoder.h"

#include <algorithm>
#include <optional>

#include "imppack/BitWriter.h"
#include "imppack/BwtEncoder.h"
#include "imppack/DeltaRegions.h"
#include "imppack/LzEncoder.h"

namespace {

enum BlockMethod : unsigned { kStored = 0, kLz = 1, kBwt = 2 };

void putBlockHeader(BitWriter& out, unsigned method, bool last, std::uint32_t size) {
    out.putBits(method, 4);
    out.putBits(last ? 1 : 0, 1);
    out.putBits(size, 20);
    out.putBits(0, 20);  // compressed size, patched once the block is complete
}

std::vector<std::uint8_t> storedBlock(const std::uint8_t* data, std::uint32_t size, bool last) {
    BitWriter out;
    putBlockHeader(out, kStored, last, size);
    out.putBytes(data, size);
    std::vector<std::uint8_t> block = std::move(out.bytes());
    patchCompressedSize(block, static_cast<std::uint32_t>(block.size()));
    return block;
}

std::vector<std::uint8_t> lzBlock(LzEncoder& lz, std::size_t start, std::uint32_t size, std::uint64_t history,
                                  bool first, bool last, const std::vector<DeltaMarker>& markers) {
    BitWriter out;
    putBlockHeader(out, kLz, last, size);
    if (first) {
        out.putBits(0, 5);
    } else {
        out.putBits(kLzHistoryRow, 2);
        out.putBits(kLzHistoryColumn, 3);
    }
    lz.encodeBlock(out, start, size, static_cast<std::size_t>(history), markers);
    std::vector<std::uint8_t> block = std::move(out.bytes());
    patchCompressedSize(block, static_cast<std::uint32_t>(block.size()));
    return block;
}

std::vector<std::uint8_t> bwtBlock(const std::uint8_t* data, std::uint32_t size, bool last) {
    BitWriter out;
    putBlockHeader(out, kBwt, last, size);
    encodeBwtBody(out, data, size);
    std::vector<std::uint8_t> block = std::move(out.bytes());
    patchCompressedSize(block, static_cast<std::uint32_t>(block.size()));
    return block;
}

// Every block of the stream with one method (stored bytes wherever they are smaller).
std::vector<std::uint8_t> encodeWith(const std::vector<std::uint8_t>& decoded, Method method,
                                     std::uint32_t blockSize) {
    std::vector<std::uint8_t> stream;
    WindowModel window;
    std::vector<std::uint8_t> lzStage = decoded;  // what the LZ stage codes, as the reader's window keeps it
    // The match finder's tables are large: only LZ streams pay for them.
    std::optional<LzEncoder> lz;
    if (method == Method::Lz) lz.emplace(lzStage.data(), lzStage.size());
    std::size_t start = 0;
    do {
        std::uint32_t size = static_cast<std::uint32_t>(std::min<std::size_t>(blockSize, decoded.size() - start));
        if (method == Method::Bwt)  // BWT blocks end early where the content changes
            size = static_cast<std::uint32_t>(bwtBlockSize(decoded.data() + start, decoded.size() - start, size));
        bool last = start + size == decoded.size();
        const std::uint8_t* data = decoded.data() + start;
        std::vector<std::uint8_t> block;
        bool usedLz = false;
        if (method == Method::Lz) {
            WindowModel trial = window;
            bool first = trial.first;
            std::uint64_t history = trial.beginLzBlock(size);
            std::vector<DeltaMarker> markers = planDeltaRegions(decoded.data(), start, size, start - history);
            applyDeltaRegions(lzStage.data(), decoded.data(), start, size, markers);
            block = lzBlock(*lz, start, size, history, first, last, markers);
            usedLz = block.size() < size + 6u;
            if (usedLz) window = trial;
            else std::copy(data, data + size, lzStage.begin() + static_cast<std::ptrdiff_t>(start));
        } else if (method == Method::Bwt) {
            block = bwtBlock(data, size, last);
        }
        if (!usedLz) {
            window.beginPlainBlock(size, last);
            if (block.empty() || block.size() >= size + 6u) block = storedBlock(data, size, last);
        }
        stream.insert(stream.end(), block.begin(), block.end());
        start += size;
    } while (start < decoded.size());
    return stream;
}

// Share of the stream that LZ leaves: above this, BWT is not worth its time.
constexpr double kIncompressibleRatio = 0.9;

}  // namespace

void patchCompressedSize(std::vector<std::uint8_t>& block, std::uint32_t size) {
    for (unsigned i = 0; i < 20; ++i) {
        unsigned bit = 25 + i;
        std::uint8_t mask = static_cast<std::uint8_t>(1u << (bit & 7));
        if ((size >> i) & 1)
            block[bit >> 3] |= mask;
        else
            block[bit >> 3] &= static_cast<std::uint8_t>(~mask);
    }
}

// The previous block's bytes join the history; the first block starts the window.
void WindowModel::startBlock(std::uint64_t size) {
    if (first) {
        first = false;
        history = 0;
        capacity = size;
    } else {
        history += lastSize;
    }
    lastSize = size;
}

std::uint64_t WindowModel::beginLzBlock(std::uint64_t size) {
    startBlock(size);
    history = std::min(history, kLzHistoryKept);
    capacity = std::max(capacity, history + size);
    return history;
}

std::uint64_t WindowModel::beginPlainBlock(std::uint64_t size, bool last) {
    startBlock(size);
    capacity = std::max(capacity, size);
    if (last) {
        history = 0;
    } else {
        std::uint64_t keep = size < 524288 ? 524288 - size : 0;
        keep = std::min(keep, capacity - size);
        history = std::min(history, keep);
    }
    return history;
}

std::vector<std::uint8_t> encodeStream(const std::vector<std::uint8_t>& decoded, Method method,
                                       std::uint32_t blockSize) {
    // Longer BWT blocks pack smaller and decode as fast: by default they may take all
    // the format allows (they still end early where the content changes).
    const std::uint32_t bwtLimit = blockSize == 0 ? kMaxBlockSize : std::min(blockSize, kMaxBlockSize);
    if (blockSize == 0) blockSize = kDefaultBlockSize;
    blockSize = std::min(blockSize, kMaxBlockSize);
    if (method == Method::Bwt) return encodeWith(decoded, method, bwtLimit);
    if (method != Method::Best) return encodeWith(decoded, method, blockSize);
    std::vector<std::uint8_t> best = encodeWith(decoded, Method::Lz, blockSize);
    if (best.size() < kIncompressibleRatio * static_cast<double>(decoded.size())) {
        std::vector<std::uint8_t> bwt = encodeWith(decoded, Method::Bwt, bwtLimit);
        if (bwt.size() < best.size()) best = std::move(bwt);
    }
    return best;
}
