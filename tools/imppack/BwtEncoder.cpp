#include "imppack/BwtEncoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imppack/CodeLengthWriter.h"
#include "imppack/HuffmanCode.h"
#include "imppack/SuffixArray.h"

namespace {

constexpr unsigned kAlphabet = 258;
constexpr std::uint16_t kEndPosition = 257;
constexpr unsigned kGroupLength = 50;
constexpr unsigned kMaxTables = 6;  // the reader's table-choice list holds six
constexpr int kRefinements = 8;

// Most frequent byte: subtracted before the transform so that it starts the
// move-to-front list at its front.
std::uint8_t chooseOffset(const std::uint8_t* data, std::size_t size) {
    std::size_t counts[256] = {};
    for (std::size_t i = 0; i < size; ++i) ++counts[data[i]];
    return static_cast<std::uint8_t>(std::max_element(counts, counts + 256) - counts);
}

void appendZeroRun(std::vector<std::uint16_t>& symbols, std::size_t run) {
    while (run > 0) {
        if (run & 1) {
            symbols.push_back(0);
            run = (run - 1) / 2;
        } else {
            symbols.push_back(1);
            run = (run - 2) / 2;
        }
    }
}

// The transformed block (size + 1 positions, one the end position) as
// move-to-front symbols with zero runs.
std::vector<std::uint16_t> transformSymbols(const std::vector<std::uint8_t>& shifted) {
    const std::size_t n = shifted.size();
    std::vector<std::int32_t> sa = suffixArray(shifted.data(), n);
    std::vector<std::uint16_t> symbols;
    symbols.reserve(n / 2 + 16);
    std::uint8_t order[256];
    for (int i = 0; i < 256; ++i) order[i] = static_cast<std::uint8_t>(i);
    std::size_t zeros = 0;
    for (std::size_t row = 0; row <= n; ++row) {
        std::int32_t start = sa[row];
        if (start == 0) {
            appendZeroRun(symbols, zeros);
            zeros = 0;
            symbols.push_back(kEndPosition);
            continue;
        }
        std::uint8_t v = shifted[start > 0 ? start - 1 : n - 1];
        if (order[0] == v) {
            ++zeros;
            continue;
        }
        appendZeroRun(symbols, zeros);
        zeros = 0;
        unsigned place = 1;
        while (order[place] != v) ++place;
        std::memmove(order + 1, order, place);
        order[0] = v;
        symbols.push_back(static_cast<std::uint16_t>(place + 1));
    }
    appendZeroRun(symbols, zeros);
    return symbols;
}

unsigned tableCountFor(std::size_t symbols) {
    if (symbols < 200) return 2;
    if (symbols < 600) return 3;
    if (symbols < 1200) return 4;
    if (symbols < 2400) return 5;
    return kMaxTables;
}

// Starting tables: each cheap over a band of symbol values holding an equal share.
std::vector<std::vector<std::uint8_t>> initialTables(const std::vector<std::uint32_t>& freqs, std::size_t total,
                                                    unsigned tables) {
    std::vector<std::vector<std::uint8_t>> lengths(tables, std::vector<std::uint8_t>(kAlphabet, 15));
    unsigned symbol = 0;
    std::size_t remaining = total;
    for (unsigned t = 0; t < tables; ++t) {
        std::size_t target = remaining / (tables - t);
        std::size_t taken = 0;
        unsigned first = symbol;
        while (symbol < kAlphabet && (taken < target || symbol == first)) taken += freqs[symbol++];
        if (t + 1 == tables) symbol = kAlphabet;
        for (unsigned s = first; s < symbol; ++s) lengths[t][s] = 0;
        remaining -= std::min(remaining, taken);
    }
    return lengths;
}

unsigned cheapestTable(const std::vector<std::vector<std::uint8_t>>& lengths, const std::uint16_t* group,
                       std::size_t count) {
    unsigned best = 0;
    std::uint64_t bestCost = ~std::uint64_t{0};
    for (unsigned t = 0; t < lengths.size(); ++t) {
        std::uint64_t cost = 0;
        for (std::size_t i = 0; i < count; ++i) {
            std::uint8_t l = lengths[t][group[i]];
            cost += l != 0 ? l : 24;  // absent: it would have to be added
        }
        if (cost < bestCost) {
            bestCost = cost;
            best = t;
        }
    }
    return best;
}

// Chooses a table per group and builds the tables from the groups that chose them.
void refineTables(const std::vector<std::uint16_t>& symbols, std::vector<std::vector<std::uint8_t>>& lengths,
                  std::vector<std::uint8_t>& choices) {
    const std::size_t groups = (symbols.size() + kGroupLength - 1) / kGroupLength;
    choices.assign(groups, 0);
    for (int round = 0; round < kRefinements; ++round) {
        std::vector<std::vector<std::uint32_t>> freqs(lengths.size(), std::vector<std::uint32_t>(kAlphabet, 0));
        for (std::size_t g = 0; g < groups; ++g) {
            std::size_t from = g * kGroupLength;
            std::size_t count = std::min<std::size_t>(kGroupLength, symbols.size() - from);
            unsigned t = cheapestTable(lengths, &symbols[from], count);
            choices[g] = static_cast<std::uint8_t>(t);
            for (std::size_t i = 0; i < count; ++i) ++freqs[t][symbols[from + i]];
        }
        for (unsigned t = 0; t < lengths.size(); ++t) lengths[t] = buildCodeLengths(freqs[t], 16);
    }
    // Drop tables that no group chose.
    std::vector<int> renumber(lengths.size(), -1);
    std::vector<std::vector<std::uint8_t>> kept;
    for (std::uint8_t c : choices) {
        if (renumber[c] < 0) {
            renumber[c] = static_cast<int>(kept.size());
            kept.push_back(lengths[c]);
        }
    }
    for (std::uint8_t& c : choices) c = static_cast<std::uint8_t>(renumber[c]);
    lengths = std::move(kept);
}

}  // namespace

void encodeBwtBody(BitWriter& out, const std::uint8_t* data, std::size_t size) {
    const std::uint8_t offset = chooseOffset(data, size);
    std::vector<std::uint8_t> shifted(data, data + size);
    for (std::uint8_t& b : shifted) b = static_cast<std::uint8_t>(b - offset);
    std::vector<std::uint16_t> symbols = transformSymbols(shifted);

    std::vector<std::uint32_t> freqs(kAlphabet, 0);
    for (std::uint16_t s : symbols) ++freqs[s];
    std::vector<std::vector<std::uint8_t>> lengths = initialTables(freqs, symbols.size(), tableCountFor(symbols.size()));
    std::vector<std::uint8_t> choices;
    refineTables(symbols, lengths, choices);

    out.putBits(offset, 8);
    out.putBits(static_cast<std::uint32_t>(lengths.size()), 3);
    std::vector<std::vector<std::uint32_t>> codes;
    for (const std::vector<std::uint8_t>& l : lengths) {
        writeCodeLengths(out, l, kAlphabet, 1);
        codes.push_back(canonicalCodes(l));
    }
    out.alignToByte();

    std::uint8_t order[kMaxTables] = {0, 1, 2, 3, 4, 5};
    unsigned table = 0;
    auto putChoice = [&](unsigned wanted) {
        unsigned j = 0;
        while (order[j] != wanted) ++j;
        out.putBits((1u << j) - 1, j + 1);  // j one bits, then a zero
        std::memmove(order + 1, order, j);
        order[0] = static_cast<std::uint8_t>(wanted);
        table = wanted;
    };
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        if (i % kGroupLength == 0) putChoice(choices[i / kGroupLength]);
        out.putCode(codes[table][symbols[i]], lengths[table][symbols[i]]);
    }
    // A reader that looks for one more table choice after the last symbol finds a valid one.
    if (symbols.size() % kGroupLength == 0) out.putBits(0, 1);
}
