#include "archive/BitReader.h"

void BitReader::reset(std::uint64_t offset) {
    bufferOffset_ = offset;
    dataEnd_ = source_.size();
    cursor = BitCursor{};
    cursor.next = buffer_;
    cursor.end = buffer_;
}

// Moves the unread tail to the front and reads the buffer full again. Past the end of
// the input the buffer is filled with zeros, which the decoders' own counts stop.
void BitReader::fillBuffer(const std::uint8_t* keepFrom) {
    std::size_t keep = static_cast<std::size_t>(cursor.end - keepFrom);
    std::memmove(buffer_, keepFrom, keep);
    bufferOffset_ += static_cast<std::uint64_t>(keepFrom - buffer_);
    std::uint64_t readFrom = bufferOffset_ + keep;
    std::size_t got = 0;
    if (readFrom < dataEnd_) got = source_.readAt(readFrom, buffer_ + keep, kBufferSize - keep);
    if (keep + got < kBufferSize) {
        if (readFrom + got < dataEnd_) dataEnd_ = readFrom + got;  // the source came up short
        std::memset(buffer_ + keep + got, 0, kBufferSize - keep - got);
    }
    cursor.next = buffer_;
    cursor.end = buffer_ + kBufferSize;
}

void BitReader::refillSlow() {
    BitCursor& c = cursor;
    while (c.count < 56) {  // ends with 56 to 63 bits: the fast path never shifts by 64
        if (c.next == c.end) {
            fillBuffer(c.next);
            if (c.end - c.next >= 8) {
                refill(c, *this);
                return;
            }
        }
        c.bits |= std::uint64_t(*c.next++) << c.count;
        c.count += 8;
    }
}

std::uint64_t BitReader::bytePosition() const {
    return bufferOffset_ + static_cast<std::uint64_t>(cursor.next - buffer_) - cursor.count / 8;
}

bool BitReader::overrun(const std::uint8_t* next, unsigned count) const {
    std::uint64_t fetchedBits = (bufferOffset_ + static_cast<std::uint64_t>(next - buffer_)) * 8;
    return fetchedBits - count > dataEnd_ * 8;
}
