// Bit output in the archive's order: fields go out least significant bit first,
// packed from the low end of each byte; prefix codes go out top code bit first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class BitWriter {
public:
    // Appends the low n bits of value (n at most 32), lowest bit first.
    void putBits(std::uint32_t value, unsigned n) {
        for (unsigned i = 0; i < n; ++i) {
            if (used_ == 0) bytes_.push_back(0);
            bytes_.back() |= static_cast<std::uint8_t>(((value >> i) & 1u) << used_);
            used_ = (used_ + 1) & 7;
        }
    }

    // Appends a prefix code of `length` bits (at most 32): its most significant bit first.
    void putCode(std::uint32_t code, unsigned length) {
        std::uint32_t reversed = 0;
        for (unsigned i = 0; i < length; ++i) reversed |= ((code >> i) & 1u) << (length - 1 - i);
        putBits(reversed, length);
    }

    // Pads the current byte with zero bits so that the next field starts a fresh byte.
    void alignToByte() { used_ = 0; }

    // Appends whole bytes; the writer must be at a byte boundary.
    void putBytes(const std::uint8_t* data, std::size_t n) {
        used_ = 0;
        bytes_.insert(bytes_.end(), data, data + n);
    }

    std::size_t bitCount() const { return used_ == 0 ? bytes_.size() * 8 : (bytes_.size() - 1) * 8 + used_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    unsigned used_ = 0;  // bits used in the last byte; 0 when it is full or there is none
};
