#include "imppack/BwtEncoder.h"

#include <algorithm>
#include <array>
#include <cmath>
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
constexpr unsigned kAbsentCost = 24;  // a symbol missing from a table would have to be added to it
constexpr int kTrialRounds = 4;       // refinement rounds for each starting point
constexpr int kFinalRounds = 8;       // further rounds for the best one

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

// Per symbol, its cost in bits under each table (lanes past the table count unused):
// eight 16-bit lanes side by side, so a group's sums for all tables add up together.
struct TableCosts {
    unsigned tables = 0;
    std::vector<std::array<std::uint16_t, 8>> bySymbol = std::vector<std::array<std::uint16_t, 8>>(kAlphabet);

    void setTable(unsigned t, const std::vector<std::uint8_t>& lengths) {
        for (unsigned s = 0; s < kAlphabet; ++s)
            bySymbol[s][t] = static_cast<std::uint16_t>(lengths[s] != 0 ? lengths[s] : kAbsentCost);
    }
};

TableCosts costsFromTables(const std::vector<std::vector<std::uint8_t>>& lengths) {
    TableCosts costs;
    costs.tables = static_cast<unsigned>(lengths.size());
    for (unsigned t = 0; t < costs.tables; ++t) costs.setTable(t, lengths[t]);
    return costs;
}

// Starting costs as bzip2 makes them: each table cheap over a band of symbol values
// holding an equal share of the symbols. `inBand` is the cost inside the band, 15
// outside; with inBand above 15 each table starts out avoiding its band instead.
TableCosts bandCosts(const std::vector<std::uint32_t>& freqs, std::size_t total, unsigned tables,
                     std::uint16_t inBand) {
    TableCosts costs;
    costs.tables = tables;
    unsigned symbol = 0;
    std::size_t remaining = total;
    for (unsigned t = 0; t < tables; ++t) {
        std::size_t target = remaining / (tables - t);
        std::size_t taken = 0;
        unsigned first = symbol;
        while (symbol < kAlphabet && (taken < target || symbol == first)) taken += freqs[symbol++];
        if (t + 1 == tables) symbol = kAlphabet;
        for (unsigned s = 0; s < kAlphabet; ++s) costs.bySymbol[s][t] = s >= first && s < symbol ? inBand : 15;
        remaining -= std::min(remaining, taken);
    }
    return costs;
}

// Starting costs from contiguous stretches of the block, one per table: suits blocks
// whose kind of content changes along the way.
TableCosts stretchCosts(const std::vector<std::uint16_t>& symbols, unsigned tables) {
    TableCosts costs;
    costs.tables = tables;
    for (unsigned t = 0; t < tables; ++t) {
        std::vector<std::uint32_t> freqs(kAlphabet, 0);
        std::size_t from = symbols.size() * t / tables, to = symbols.size() * (t + 1) / tables;
        for (std::size_t i = from; i < to; ++i) ++freqs[symbols[i]];
        costs.setTable(t, buildCodeLengths(freqs, 16));
    }
    return costs;
}

// The table that codes the group cheapest; with `order` (the reader's selector
// list) the bits of the table choice count too, and the list is updated.
unsigned cheapestTable(const TableCosts& costs, const std::uint16_t* group, std::size_t count, std::uint8_t* order) {
    std::array<std::uint16_t, 8> sums = {};
    for (std::size_t i = 0; i < count; ++i) {
        const std::array<std::uint16_t, 8>& c = costs.bySymbol[group[i]];
        for (unsigned t = 0; t < 8; ++t) sums[t] = static_cast<std::uint16_t>(sums[t] + c[t]);
    }
    if (order != nullptr)
        for (unsigned j = 0; j < costs.tables; ++j) sums[order[j]] = static_cast<std::uint16_t>(sums[order[j]] + j + 1);
    unsigned best = 0;
    for (unsigned t = 1; t < costs.tables; ++t)
        if (sums[t] < sums[best]) best = t;
    if (order != nullptr) {
        unsigned j = 0;
        while (order[j] != best) ++j;
        std::memmove(order + 1, order, j);
        order[0] = static_cast<std::uint8_t>(best);
    }
    return best;
}

// Drops tables that no group chose and renumbers the choices.
void dropUnusedTables(BwtTables& choice) {
    std::vector<int> renumber(choice.lengths.size(), -1);
    std::vector<std::vector<std::uint8_t>> kept;
    for (std::uint8_t c : choice.choices) {
        if (renumber[c] < 0) {
            renumber[c] = static_cast<int>(kept.size());
            kept.push_back(choice.lengths[c]);
        }
    }
    for (std::uint8_t& c : choice.choices) c = static_cast<std::uint8_t>(renumber[c]);
    choice.lengths = std::move(kept);
}

// Rounds of: choose a table per group, rebuild each table from the groups that
// chose it. The last rounds count the bits of the table choices as well.
BwtTables refineTables(const std::vector<std::uint16_t>& symbols, TableCosts costs, int rounds, int selectorRounds) {
    const std::size_t groups = (symbols.size() + kGroupLength - 1) / kGroupLength;
    BwtTables result;
    result.choices.assign(groups, 0);
    result.lengths.assign(costs.tables, {});
    for (int round = 0; round < rounds; ++round) {
        std::vector<std::vector<std::uint32_t>> freqs(costs.tables, std::vector<std::uint32_t>(kAlphabet, 0));
        std::uint8_t order[kMaxTables] = {0, 1, 2, 3, 4, 5};
        bool withSelectors = round >= rounds - selectorRounds;
        for (std::size_t g = 0; g < groups; ++g) {
            std::size_t from = g * kGroupLength;
            std::size_t count = std::min<std::size_t>(kGroupLength, symbols.size() - from);
            unsigned t = cheapestTable(costs, &symbols[from], count, withSelectors ? order : nullptr);
            result.choices[g] = static_cast<std::uint8_t>(t);
            for (std::size_t i = 0; i < count; ++i) ++freqs[t][symbols[from + i]];
        }
        for (unsigned t = 0; t < costs.tables; ++t) {
            result.lengths[t] = buildCodeLengths(freqs[t], 16);
            costs.setTable(t, result.lengths[t]);
        }
    }
    dropUnusedTables(result);
    return result;
}

// Where the kind of content changes, one block for each side packs smaller than one
// block across the change. A change shows as byte frequencies that differ on the two
// sides of a place: coding both sides with their common frequencies costs more.
constexpr std::size_t kCutWindow = 65536;  // bytes compared on each side of a place
constexpr std::size_t kCutStep = 4096;     // places looked at first
constexpr std::size_t kCutFine = 256;      // then around the best of them
constexpr double kCutBitsPerByte = 0.15;   // far above what changes within one kind of content cost

using ByteCounts = std::array<std::uint32_t, 256>;

double order0Bits(const ByteCounts& counts) {
    double total = 0;
    for (std::uint32_t c : counts) total += c;
    double bits = 0;
    for (std::uint32_t c : counts)
        if (c != 0) bits += c * std::log2(total / c);
    return bits;
}

// Extra bits per byte that one set of frequencies costs for the two windows around `at`.
double changeCost(const ByteCounts& before, const ByteCounts& after) {
    ByteCounts both;
    for (unsigned b = 0; b < 256; ++b) both[b] = before[b] + after[b];
    return (order0Bits(both) - order0Bits(before) - order0Bits(after)) / (2 * kCutWindow);
}

double changeCostAt(const std::uint8_t* data, std::size_t at) {
    ByteCounts before = {}, after = {};
    for (std::size_t i = at - kCutWindow; i < at; ++i) ++before[data[i]];
    for (std::size_t i = at; i < at + kCutWindow; ++i) ++after[data[i]];
    return changeCost(before, after);
}

// The place near `coarse` (within one step) where the change shows most.
std::size_t refineCut(const std::uint8_t* data, std::size_t coarse, std::size_t lowest, std::size_t highest) {
    std::size_t best = coarse;
    double bestCost = changeCostAt(data, coarse);
    std::size_t from = std::max(lowest, coarse - kCutStep), to = std::min(highest, coarse + kCutStep);
    for (std::size_t at = from; at <= to; at += kCutFine) {
        double cost = changeCostAt(data, at);
        if (cost > bestCost) {
            bestCost = cost;
            best = at;
        }
    }
    return best;
}

}  // namespace

std::size_t bwtBlockSize(const std::uint8_t* data, std::size_t available, std::size_t maxSize) {
    const std::size_t limit = std::min(available, maxSize);
    const std::size_t lowest = 2 * kCutWindow;  // no block of less than two windows' worth
    if (limit < lowest + kCutStep || available < lowest + kCutWindow) return limit;
    const std::size_t highest = std::min(limit, available - kCutWindow);
    // Windows [at - W, at) and [at, at + W), slid along one step at a time.
    ByteCounts before = {}, after = {};
    for (std::size_t i = lowest - kCutWindow; i < lowest; ++i) ++before[data[i]];
    for (std::size_t i = lowest; i < lowest + kCutWindow; ++i) ++after[data[i]];
    std::size_t found = 0;
    double foundCost = kCutBitsPerByte;
    for (std::size_t at = lowest;; at += kCutStep) {
        double cost = changeCost(before, after);
        if (cost > foundCost) {
            found = at;
            foundCost = cost;
        } else if (found != 0) {
            break;  // past the top of the first change
        }
        if (at + kCutStep > highest) break;
        for (std::size_t i = at; i < at + kCutStep; ++i) {
            ++before[data[i]];
            --after[data[i]];
            --before[data[i - kCutWindow]];
            ++after[data[i + kCutWindow]];
        }
    }
    return found == 0 ? limit : refineCut(data, found, lowest, highest);
}

std::uint64_t bwtCodedBits(const BwtTables& choice, const std::vector<std::uint16_t>& symbols) {
    BitWriter tables;
    for (const std::vector<std::uint8_t>& l : choice.lengths) writeCodeLengths(tables, l, kAlphabet, 1);
    std::uint64_t bits = tables.bitCount();
    std::uint8_t order[kMaxTables] = {0, 1, 2, 3, 4, 5};
    for (std::uint8_t wanted : choice.choices) {
        unsigned j = 0;
        while (order[j] != wanted) ++j;
        bits += j + 1;
        std::memmove(order + 1, order, j);
        order[0] = wanted;
    }
    for (std::size_t i = 0; i < symbols.size(); ++i)
        bits += choice.lengths[choice.choices[i / kGroupLength]][symbols[i]];
    return bits;
}

// Refinement finds a local best only: start from several points (band splits both
// ways round, contiguous stretches; the largest table count for the block's size and
// one fewer), keep the smallest by its exact size, and refine that one further.
BwtTables chooseBwtTables(const std::vector<std::uint16_t>& symbols) {
    std::vector<std::uint32_t> freqs(kAlphabet, 0);
    for (std::uint16_t s : symbols) ++freqs[s];
    const unsigned most = tableCountFor(symbols.size());
    BwtTables best;
    std::uint64_t bestBits = ~std::uint64_t{0};
    auto consider = [&](BwtTables c) {
        std::uint64_t bits = bwtCodedBits(c, symbols);
        if (bits < bestBits) {
            bestBits = bits;
            best = std::move(c);
        }
    };
    for (unsigned tables = most; tables + 2 > most && tables >= 1; --tables) {
        consider(refineTables(symbols, bandCosts(freqs, symbols.size(), tables, 0), kTrialRounds, kTrialRounds / 2));
        consider(refineTables(symbols, bandCosts(freqs, symbols.size(), tables, kAbsentCost), kTrialRounds,
                              kTrialRounds / 2));
        consider(refineTables(symbols, stretchCosts(symbols, tables), kTrialRounds, kTrialRounds / 2));
    }
    consider(refineTables(symbols, costsFromTables(best.lengths), kFinalRounds, kFinalRounds));
    return best;
}

void encodeBwtBody(BitWriter& out, const std::uint8_t* data, std::size_t size) {
    const std::uint8_t offset = chooseOffset(data, size);
    std::vector<std::uint8_t> shifted(data, data + size);
    for (std::uint8_t& b : shifted) b = static_cast<std::uint8_t>(b - offset);
    std::vector<std::uint16_t> symbols = transformSymbols(shifted);

    BwtTables chosen = chooseBwtTables(symbols);
    const std::vector<std::vector<std::uint8_t>>& lengths = chosen.lengths;
    const std::vector<std::uint8_t>& choices = chosen.choices;

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
