// Folding: four 128-bit lanes each multiply their value by x^512 mod P (one
// carry-less multiply per 64-bit half) and add the next 64 input bytes, so the
// polynomial remainder of the whole input is kept in 512 bits. At the end the
// lanes fold into one, and those 16 bytes have the same CRC as everything before
// them; the byte table finishes from there. The constants are x^k mod P for the
// reflected polynomial, bit-reversed and shifted by one as the reflected
// multiply needs.
#include "archive/Crc32Folding.h"

#include "archive/Crc32.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define VOIDRIFT_CRC_FOLDING 1
#include <immintrin.h>
#endif

namespace crc32_folding {

#ifdef VOIDRIFT_CRC_FOLDING

bool available() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
    }();
    return has;
}

namespace {

#define VOIDRIFT_FOLDING_TARGET __attribute__((target("pclmul,sse2")))

VOIDRIFT_FOLDING_TARGET inline __m128i fold(__m128i x, __m128i k, __m128i next) {
    __m128i low = _mm_clmulepi64_si128(x, k, 0x00);
    __m128i high = _mm_clmulepi64_si128(x, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

template <bool kCopy>
VOIDRIFT_FOLDING_TARGET inline __m128i take(const std::uint8_t* from, std::uint8_t* to, std::size_t at) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + at));
    if (kCopy) _mm_storeu_si128(reinterpret_cast<__m128i*>(to + at), v);
    return v;
}

template <bool kCopy>
VOIDRIFT_FOLDING_TARGET std::uint32_t run(std::uint32_t reg, std::uint8_t* to, const std::uint8_t* from,
                                          std::size_t n) {
    // High half x^(512-32), low half x^(512+32); then the same about x^128.
    const __m128i by4 = _mm_set_epi64x(0x1c6e41596, 0x154442bd4);
    const __m128i by1 = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);
    __m128i x0 = _mm_xor_si128(take<kCopy>(from, to, 0), _mm_cvtsi32_si128(static_cast<int>(reg)));
    __m128i x1 = take<kCopy>(from, to, 16);
    __m128i x2 = take<kCopy>(from, to, 32);
    __m128i x3 = take<kCopy>(from, to, 48);
    std::size_t at = 64;
    for (; at + 64 <= n; at += 64) {
        x0 = fold(x0, by4, take<kCopy>(from, to, at));
        x1 = fold(x1, by4, take<kCopy>(from, to, at + 16));
        x2 = fold(x2, by4, take<kCopy>(from, to, at + 32));
        x3 = fold(x3, by4, take<kCopy>(from, to, at + 48));
    }
    __m128i x = fold(fold(fold(x0, by1, x1), by1, x2), by1, x3);
    for (; at + 16 <= n; at += 16) x = fold(x, by1, take<kCopy>(from, to, at));
    alignas(16) std::uint8_t rest[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(rest), x);
    return crc32Update(0, rest, 16);  // below the folding threshold: the byte table
}

}  // namespace

std::uint32_t advance(std::uint32_t reg, std::uint8_t* to, const std::uint8_t* from, std::size_t n) {
    return to ? run<true>(reg, to, from, n) : run<false>(reg, nullptr, from, n);
}

#else

bool available() { return false; }

std::uint32_t advance(std::uint32_t reg, std::uint8_t*, const std::uint8_t*, std::size_t) { return reg; }

#endif

}  // namespace crc32_folding
