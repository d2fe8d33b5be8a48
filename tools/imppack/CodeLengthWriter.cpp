#include "imppack/CodeLengthWriter.h"

#include "imppack/HuffmanCode.h"

namespace {

constexpr unsigned kPreCodeSize = 21;
constexpr unsigned kZeroRun = 17;    // 17 and 18: zero-run digits
constexpr unsigned kRepeatRun = 19;  // 19 and 20: repeat-run digits

// Appends the digits of a run of n in bijective base 2 (digit 1 -> first, digit 2 -> first + 1).
void appendRunDigits(std::vector<std::uint8_t>& symbols, unsigned n, unsigned first) {
    while (n > 0) {
        if (n & 1) {
            symbols.push_back(static_cast<std::uint8_t>(first));
            n = (n - 1) / 2;
        } else {
            symbols.push_back(static_cast<std::uint8_t>(first + 1));
            n = (n - 2) / 2;
        }
    }
}

// Turns the lengths into pre-code symbols, mirroring the decoder's running state.
// Runs may cross from one group into the next, as the decoder reads them.
std::vector<std::uint8_t> lengthSymbols(const std::vector<std::uint8_t>& lengths, unsigned groupSize,
                                        unsigned groupCount) {
    const std::size_t total = static_cast<std::size_t>(groupSize) * groupCount;
    auto previous = [&](std::size_t k) -> unsigned { return k >= groupSize ? lengths[k - groupSize] : 0; };
    std::vector<std::uint8_t> symbols;
    unsigned current = 0;  // the decoder's running length c
    std::size_t i = 0;
    while (i < total) {
        std::size_t zeros = 0;
        while (i + zeros < total && lengths[i + zeros] == 0) ++zeros;
        std::size_t repeats = 0;
        unsigned c = current;
        while (i + repeats < total) {
            unsigned p = previous(i + repeats);
            unsigned written = p != 0 ? p : c;
            if (written != lengths[i + repeats]) break;
            c = written;
            ++repeats;
        }
        if (repeats >= 2 && repeats >= zeros) {
            appendRunDigits(symbols, static_cast<unsigned>(repeats), kRepeatRun);
            current = c;
            i += repeats;
        } else if (zeros >= 2) {
            appendRunDigits(symbols, static_cast<unsigned>(zeros), kZeroRun);
            i += zeros;
        } else {
            unsigned p = previous(i);
            unsigned base = p != 0 ? p : current;
            symbols.push_back(static_cast<std::uint8_t>((lengths[i] + 17 - base) % 17));
            current = lengths[i];
            ++i;
        }
    }
    return symbols;
}

void writePreCode(BitWriter& out, const std::vector<std::uint8_t>& preLengths) {
    unsigned zeros = 0;
    auto flushZeros = [&]() {
        std::vector<std::uint8_t> digits;
        appendRunDigits(digits, zeros, 0);
        for (std::uint8_t d : digits) out.putBits(d, 5);
        zeros = 0;
    };
    for (unsigned s = 0; s < kPreCodeSize; ++s) {
        if (preLengths[s] == 0) {
            ++zeros;
            continue;
        }
        flushZeros();
        out.putBits(preLengths[s] + 1u, 5);
    }
    flushZeros();
}

}  // namespace

void writeCodeLengths(BitWriter& out, const std::vector<std::uint8_t>& lengths, unsigned groupSize,
                      unsigned groupCount) {
    std::vector<std::uint8_t> symbols = lengthSymbols(lengths, groupSize, groupCount);
    std::vector<std::uint32_t> freqs(kPreCodeSize, 0);
    for (std::uint8_t s : symbols) ++freqs[s];
    std::vector<std::uint8_t> preLengths = buildCodeLengths(freqs, 16);
    std::vector<std::uint32_t> preCodes = canonicalCodes(preLengths);
    writePreCode(out, preLengths);
    for (std::uint8_t s : symbols) out.putCode(preCodes[s], preLengths[s]);
}
