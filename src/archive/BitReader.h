// Least-significant-bit-first input over a ByteSource. The decoders' hot loops copy
// the cursor into a local, work on it, and store it back, so that stores into the
// output window cannot force the bit state out of registers.
#pragma once

#include "archive/ByteSource.h"

#include <cstdint>
#include <cstring>

struct BitCursor {
    std::uint64_t bits = 0;       // valid bits at the low end
    unsigned count = 0;           // how many are valid
    const std::uint8_t* next = nullptr;
    const std::uint8_t* end = nullptr;

    // Field by field: a whole-struct copy keeps the compiler from holding the hot
    // loops' copy in registers.
    void take(const BitCursor& o) {
        bits = o.bits;
        count = o.count;
        next = o.next;
        end = o.end;
    }
};

class BitReader {
public:
    static constexpr std::size_t kBufferSize = 4096;

    explicit BitReader(ByteSource& source) : source_(source) {}

    // Starts reading at `offset` with nothing buffered.
    void reset(std::uint64_t offset);

    // At least 56 valid bits afterwards (past the end of input the bits are zeros).
    // One unaligned load tops the buffer up; with 56 or more bits it adds nothing.
    static inline void refill(BitCursor& c, BitReader& r) {
        if (c.end - c.next >= 8) {
            std::uint64_t word;
            std::memcpy(&word, c.next, 8);
            c.bits |= word << c.count;
            c.next += (63 - c.count) >> 3;
            c.count |= 56;
            return;
        }
        // Through the reader's own cursor: passing the local's address would pin
        // it to memory for the whole hot loop.
        if (c.count >= 56) return;
        r.cursor.take(c);
        r.refillSlow();
        c.take(r.cursor);
    }
    static inline std::uint32_t peek(const BitCursor& c, unsigned n) {
        return static_cast<std::uint32_t>(c.bits & ((std::uint64_t(1) << n) - 1));
    }
    static inline void drop(BitCursor& c, unsigned n) {
        c.bits >>= n;
        c.count -= n;
    }

    // Convenience forms on the reader's own cursor, for the colder paths. n <= 32.
    std::uint32_t readBits(unsigned n) {
        refill(cursor, *this);
        std::uint32_t v = peek(cursor, n);
        drop(cursor, n);
        return v;
    }
    // Drops the rest of a partly used byte.
    void alignToByte() { drop(cursor, cursor.count & 7); }
    // Offset of the first input byte not used in full.
    std::uint64_t bytePosition() const;
    // True once bits beyond the end of the input have been consumed.
    bool overrun(const BitCursor& c) const { return overrun(c.next, c.count); }
    bool overrun(const std::uint8_t* next, unsigned count) const;

    BitCursor cursor;

private:
    void refillSlow();
    void fillBuffer(const std::uint8_t* keepFrom);

    ByteSource& source_;
    std::uint64_t bufferOffset_ = 0;  // input offset of buffer_[0]
    std::uint64_t dataEnd_ = 0;       // input offset where real bytes stop
    std::uint8_t buffer_[kBufferSize];
};
