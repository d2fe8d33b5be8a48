#include "archive/StreamDecoder.h"

#include "archive/ArchiveResult.h"

#include <cstring>
#include <new>

using namespace archive_result;

namespace {

// History kept before an LZ block: rows by the block's 2-bit selector, columns by its 3-bit index.
constexpr std::uint32_t kKeepTable[3][8] = {
    {32768, 65536, 73728, 98304, 122880, 147456, 172032, 196608},
    {32768, 65536, 73728, 98304, 122880, 147456, 172032, 196608},
    {32768, 131072, 196608, 262144, 327680, 393216, 458752, 524288},
};
constexpr std::uint32_t kWholeBlockKeep = 524288;

}  // namespace

StreamDecoder::StreamDecoder(ByteSource& source) : source_(source), bits_(source) {
    tables_ = new (std::nothrow) DecoderTables;
}

StreamDecoder::~StreamDecoder() {
    delete tables_;
    delete[] window_;
    delete[] transform_;
}

void StreamDecoder::start(std::uint64_t firstBlock) {
    delete[] window_;
    window_ = nullptr;
    capacity_ = history_ = blockSize_ = 0;
    streamOffset_ = 0;
    blockStart_ = firstBlock;
    started_ = last_ = false;
    deltaCount_ = 0;
}

int StreamDecoder::growWindow(std::uint32_t capacity) {
    std::uint8_t* grown = new (std::nothrow) std::uint8_t[std::size_t(capacity) + kSlack]();
    if (!grown) return kOutOfMemory;
    if (window_) std::memcpy(grown, window_, std::size_t(capacity_) + kSlack);
    delete[] window_;
    window_ = grown;
    capacity_ = capacity;
    return 0;
}

// Re-encodes the previous block's delta regions inside the part that stays, then cuts
// the history down to its last `keep` bytes.
void StreamDecoder::keepHistory(std::uint32_t keep) {
    std::uint32_t keptStart = history_ > keep ? history_ - keep : 0;
    reencodeDeltaRegions(keptStart);
    if (history_ > keep) {
        std::memmove(window_, window_ + history_ - keep, keep);
        history_ = keep;
    }
}

void StreamDecoder::applyDeltaRegions(std::uint32_t end) {
    for (int i = 0; i < deltaCount_; ++i) {
        std::uint32_t k = deltaDistance_[i];
        if (k == 0) continue;
        std::uint32_t from = deltaPosition_[i];
        std::uint32_t to = i + 1 < deltaCount_ ? deltaPosition_[i + 1] : end;
        if (from < k) from = k;  // bytes with nothing k places before them stay as they are
        for (std::uint32_t x = from; x < to; ++x) window_[x] = std::uint8_t(window_[x] + window_[x - k]);
    }
}

void StreamDecoder::reencodeDeltaRegions(std::uint32_t keptStart) {
    for (int i = deltaCount_ - 1; i >= 0; --i) {
        std::uint32_t k = deltaDistance_[i];
        std::uint32_t from = deltaPosition_[i] > keptStart ? deltaPosition_[i] : keptStart;
        std::uint32_t to = i + 1 < deltaCount_ ? deltaPosition_[i + 1] : history_;
        if (k != 0) {
            std::uint32_t stop = from > k ? from : k;
            for (std::uint32_t x = to; x > stop;) {
                --x;
                window_[x] = std::uint8_t(window_[x] - window_[x - k]);
            }
        }
        if (from == keptStart) break;
    }
    deltaCount_ = 0;
}

int StreamDecoder::readBlockHeader(unsigned& method, std::uint32_t& compressed) {
    // A header must lie inside the file: past its end there is nothing to decode.
    if (blockStart_ + kMinBlockBytes > source_.size()) return kUnexpectedEnd;
    bits_.reset(blockStart_);
    method = bits_.readBits(4);
    last_ = bits_.readBits(1) != 0;
    blockSize_ = bits_.readBits(20);
    compressed = bits_.readBits(20);
    if (method > 3) return kDamaged;
    // A block shorter than its own header would make the chain stand still.
    if (compressed < kMinBlockBytes) return kDamaged;
    if (!window_) return growWindow(blockSize_);
    return 0;
}

int StreamDecoder::decodeBlock() {
    bool first = !started_;
    if (!first) {
        history_ += blockSize_;
        streamOffset_ += blockSize_;
    }
    unsigned method = 0;
    std::uint32_t compressed = 0;
    int result = readBlockHeader(method, compressed);
    started_ = true;
    if (result != 0) {
        blockSize_ = 0;
        return result;
    }
    result = (method == 1 || method == 3) ? decodeLzBlock(first) : decodeWholeBlock(method);
    if (result != 0) return result;
    blockStart_ += compressed;
    return 0;
}

// LZ blocks keep as much history as their header asks for and may refer to it.
int StreamDecoder::decodeLzBlock(bool first) {
    if (first) {
        bits_.readBits(5);
    } else {
        std::uint32_t row = bits_.readBits(2);
        std::uint32_t column = bits_.readBits(3);
        if (row > 2) return kDamaged;
        keepHistory(kKeepTable[row][column]);
    }
    int result = 0;
    if (history_ + blockSize_ > capacity_ && (result = growWindow(history_ + blockSize_)) != 0)
        return result;
    int produced = decodeLzBody(window_, history_, blockSize_, true);
    if (produced < 0) return produced;
    if (std::uint32_t(produced) < blockSize_) {
        blockSize_ = std::uint32_t(produced);
        last_ = true;
    }
    applyDeltaRegions(history_ + blockSize_);
    return 0;
}

// Stored and BWT blocks stand alone; the history they keep is for later LZ blocks.
int StreamDecoder::decodeWholeBlock(unsigned method) {
    int result = 0;
    if (blockSize_ > capacity_ && (result = growWindow(blockSize_)) != 0) return result;
    if (!last_) {
        std::uint32_t keep = blockSize_ < kWholeBlockKeep ? kWholeBlockKeep - blockSize_ : 0;
        if (keep > capacity_ - blockSize_) keep = capacity_ - blockSize_;
        keepHistory(keep);
    } else {
        history_ = 0;
    }
    deltaCount_ = 0;
    if (method == 2) return decodeBwtBody(window_ + history_, blockSize_);
    std::size_t got = source_.readAt(bits_.bytePosition(), window_ + history_, blockSize_);
    if (got < blockSize_) {
        blockSize_ = static_cast<std::uint32_t>(got);
        last_ = true;
    }
    return 0;
}
