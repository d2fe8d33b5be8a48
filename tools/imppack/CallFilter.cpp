#include "imppack/CallFilter.h"

namespace {

std::uint32_t load(const std::uint8_t* p, unsigned width) {
    std::uint32_t v = 0;
    for (unsigned i = 0; i < width; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return v;
}

void store(std::uint8_t* p, std::uint32_t v, unsigned width) {
    for (unsigned i = 0; i < width; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The reader maps a stored operand v at operand offset f to: N - 1 - v - f for v in
// [-f, -1], v - f for v in [0, N), v otherwise. That is a one-to-one map; this is its inverse.
std::uint32_t encodeOperand32(std::uint32_t original, std::int64_t f, std::int64_t n) {
    std::int64_t u = static_cast<std::int32_t>(original);
    std::int64_t v = u;
    if (u >= n - f && u <= n - 1)
        v = n - 1 - u - f;
    else if (u >= -f && u <= n - 1 - f)
        v = u + f;
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(v));
}

}  // namespace

void encodeCallAddresses(std::vector<std::uint8_t>& member, unsigned width) {
    const std::size_t n = member.size();
    std::size_t q = 0;
    while (q < n) {
        if (member[q] != 0xE8 || q + width > n - 1) {
            ++q;
            continue;
        }
        std::size_t f = q + 1;
        std::uint32_t original = load(&member[f], width);
        std::uint32_t coded = width == 2 ? (original + static_cast<std::uint32_t>(f)) & 0xFFFFu
                                         : encodeOperand32(original, static_cast<std::int64_t>(f),
                                                           static_cast<std::int64_t>(n));
        store(&member[f], coded, width);
        q = f + width;
    }
}

std::size_t countLikelyCalls(const std::vector<std::uint8_t>& member, unsigned width) {
    const std::size_t n = member.size();
    std::size_t count = 0;
    for (std::size_t q = 0; q + width + 1 < n; ++q) {
        if (member[q] != 0xE8) continue;
        std::int64_t target = static_cast<std::int64_t>(q) + 1 + width;
        std::uint32_t raw = load(&member[q + 1], width);
        target += width == 2 ? static_cast<std::int16_t>(raw) : static_cast<std::int32_t>(raw);
        if (target >= 0 && target < static_cast<std::int64_t>(n)) ++count;
        q += width;
    }
    return count;
}
