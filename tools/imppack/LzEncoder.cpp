#include "imppack/LzEncoder.h"

#include <algorithm>
#include <cmath>

#include "imppack/CodeLengthWriter.h"
#include "imppack/HuffmanCode.h"

namespace {

constexpr unsigned kHashBits = 17;
constexpr std::size_t kChainSize = std::size_t{1} << 21;  // more than the longest distance
constexpr std::uint32_t kMaxDistance = 1048576;
constexpr std::uint32_t kMaxLength = 33026;
constexpr unsigned kLitLenSize = 288;
constexpr unsigned kGroupSize = 372;  // with three distance alphabets
constexpr unsigned kDistOffset[3] = {288, 330, 344};
constexpr unsigned kDistSize[3] = {42, 14, 28};
constexpr std::uint16_t kNextGroup = 256;
constexpr unsigned kMaxGroups = 63;
constexpr std::size_t kChunkSymbols = 4096;
constexpr double kTableCostBits = 300.0;

struct LengthCode {
    std::uint16_t symbol;
    std::uint8_t bits;
    std::uint32_t extra;
};

LengthCode lengthCode(std::uint32_t length) {
    if (length <= 10) return {static_cast<std::uint16_t>(255 + length), 0, 0};
    if (length >= 259) return {286, 15, length - 259};
    static const std::uint16_t bases[20] = {11, 13, 15, 17, 19, 23, 27, 31, 35, 43,
                                            51, 59, 67, 83, 99, 115, 131, 163, 195, 227};
    unsigned slot = 19;
    while (bases[slot] > length) --slot;
    return {static_cast<std::uint16_t>(266 + slot), static_cast<std::uint8_t>(1 + slot / 4), length - bases[slot]};
}

// Distance symbol 2..41 for an explicit distance, with its extra bits.
void explicitDistance(std::uint32_t distance, std::uint8_t& symbol, std::uint8_t& bits, std::uint32_t& extra) {
    if (distance <= 4) {
        symbol = static_cast<std::uint8_t>(distance + 1);
        bits = 0;
        extra = 0;
        return;
    }
    std::uint32_t v = distance - 1;
    unsigned top = 31 - static_cast<unsigned>(__builtin_clz(v));
    unsigned second = (v >> (top - 1)) & 1;
    symbol = static_cast<std::uint8_t>(6 + 2 * (top - 2) + second);
    bits = static_cast<std::uint8_t>(top - 1);
    extra = v - ((2u + second) << (top - 1));
}

unsigned alphabetFor(std::uint32_t length) { return length == 2 ? 1 : length == 3 ? 2 : 0; }

// Largest explicit distance each alphabet can code.
constexpr std::uint32_t kAlphabetReach[3] = {kMaxDistance, 64, 8192};

unsigned hash3(const std::uint8_t* p) {
    std::uint32_t v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                      (static_cast<std::uint32_t>(p[2]) << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
}

// Rough bits for a distance: used only to compare candidate matches.
int distanceCost(std::uint32_t distance) {
    if (distance <= 4) return 5;
    return 6 + (31 - __builtin_clz(distance - 1)) - 1;
}

int lengthCost(std::uint32_t length) {
    if (length <= 10) return 7;
    if (length >= 259) return 22;
    return 8 + (31 - __builtin_clz(length)) - 2;
}

struct GroupStats {
    std::vector<std::uint32_t> freqs = std::vector<std::uint32_t>(kGroupSize, 0);
    void add(const LzEncoder::Symbol& s) {
        ++freqs[s.litLen];
        if (s.distAlphabet != 0xFF) ++freqs[kDistOffset[s.distAlphabet] + s.distSymbol];
    }
    void add(const GroupStats& other) {
        for (unsigned i = 0; i < kGroupSize; ++i) freqs[i] += other.freqs[i];
    }
};

// Entropy estimate of coding the counts with their own optimal code.
double entropyBits(const std::vector<std::uint32_t>& freqs, unsigned from, unsigned count) {
    double total = 0;
    for (unsigned i = from; i < from + count; ++i) total += freqs[i];
    if (total == 0) return 0;
    double bits = 0;
    for (unsigned i = from; i < from + count; ++i)
        if (freqs[i]) bits += freqs[i] * std::log2(total / freqs[i]);
    return bits;
}

double groupBits(const GroupStats& g) {
    double bits = entropyBits(g.freqs, 0, kLitLenSize);
    for (unsigned t = 0; t < 3; ++t) bits += entropyBits(g.freqs, kDistOffset[t], kDistSize[t]);
    return bits;
}

// Splits the symbols into runs that each get their own tables, where that pays.
std::vector<std::size_t> groupStarts(const std::vector<LzEncoder::Symbol>& symbols) {
    std::vector<std::size_t> starts{0};
    GroupStats current;
    double currentBits = 0;
    for (std::size_t chunk = 0; chunk < symbols.size(); chunk += kChunkSymbols) {
        GroupStats next;
        std::size_t end = std::min(symbols.size(), chunk + kChunkSymbols);
        for (std::size_t i = chunk; i < end; ++i) next.add(symbols[i]);
        if (chunk == 0) {
            current = next;
            currentBits = groupBits(current);
            continue;
        }
        GroupStats merged = current;
        merged.add(next);
        double mergedBits = groupBits(merged);
        double nextBits = groupBits(next);
        if (starts.size() < kMaxGroups && mergedBits > currentBits + nextBits + kTableCostBits) {
            starts.push_back(chunk);
            current = next;
            currentBits = nextBits;
        } else {
            current = merged;
            currentBits = mergedBits;
        }
    }
    return starts;
}

}  // namespace

LzEncoder::LzEncoder(const std::uint8_t* data, std::size_t size, LzParams params)
    : data_(data), size_(size), params_(params), head_(std::size_t{1} << kHashBits, -1) {
    // The chain ring needs to cover the longest distance, or the whole input if shorter.
    std::size_t ring = 1024;
    while (ring < kChainSize && ring < size) ring *= 2;
    chain_.assign(ring, -1);
}

void LzEncoder::insertUpTo(std::size_t position) {
    std::size_t limit = std::min(position, size_ >= 2 ? size_ - 2 : 0);
    for (; inserted_ < limit; ++inserted_) {
        unsigned h = hash3(data_ + inserted_);
        chain_[inserted_ & (chain_.size() - 1)] = head_[h];
        head_[h] = static_cast<std::int32_t>(inserted_);
    }
    if (inserted_ < position) inserted_ = position;
}

std::uint32_t LzEncoder::matchLength(std::size_t position, std::size_t candidate, std::size_t limit) const {
    std::size_t n = 0;
    while (n < limit && data_[candidate + n] == data_[position + n]) ++n;
    return static_cast<std::uint32_t>(n);
}

LzEncoder::Match LzEncoder::bestMatch(std::size_t position, std::size_t end, std::size_t minPosition) {
    Match best;
    std::size_t limit = std::min<std::size_t>(end - position, kMaxLength);
    if (limit < 2) return best;
    // Repeat distances first: they cost only a few bits.
    const std::uint32_t reps[2] = {rep0_, rep1_};
    for (int r = 0; r < 2; ++r) {
        std::uint32_t d = reps[r];
        if (d == 0 || d > position - minPosition) continue;
        std::uint32_t len = matchLength(position, position - d, limit);
        if (len < 2) continue;
        int cost = static_cast<int>(len) * 8 - lengthCost(len) - 3 - r;
        if (cost > best.cost) best = {len, d, cost};
    }
    if (limit < 3 || best.length >= params_.niceLength || best.length >= limit) return best;
    insertUpTo(position);
    std::int32_t candidate = head_[hash3(data_ + position)];
    std::uint32_t bestLen = std::max<std::uint32_t>(best.length, 2);
    for (unsigned depth = params_.chainDepth; depth > 0 && candidate >= 0; --depth) {
        std::size_t c = static_cast<std::size_t>(candidate);
        if (c < minPosition || position - c > kMaxDistance) break;
        if (data_[c + bestLen] == data_[position + bestLen]) {
            std::uint32_t len = matchLength(position, c, limit);
            std::uint32_t d = static_cast<std::uint32_t>(position - c);
            if (len >= 3 && d <= kAlphabetReach[alphabetFor(len)]) {
                int cost = static_cast<int>(len) * 8 - lengthCost(len) - distanceCost(d);
                if (cost > best.cost) {
                    best = {len, d, cost};
                    bestLen = std::max(bestLen, len);
                    if (len >= params_.niceLength || len >= limit) break;
                }
            }
        }
        candidate = chain_[c & (chain_.size() - 1)];
    }
    return best;
}

void LzEncoder::parse(std::size_t start, std::size_t length, std::size_t history, std::vector<Symbol>& symbols) {
    const std::size_t end = start + length;
    const std::size_t minPosition = start - history;
    rep0_ = rep1_ = 0;  // the reader starts every body without repeat distances
    auto literal = [&](std::size_t p) {
        symbols.push_back({data_[p], 0, 0xFF, 0, 0, 0, 0});
    };
    std::size_t p = start;
    Match pending = bestMatch(p, end, minPosition);
    while (p < end) {
        Match current = pending;
        if (current.cost <= 0) {
            literal(p);
            ++p;
            pending = p < end ? bestMatch(p, end, minPosition) : Match{};
            continue;
        }
        // Lazy step: a better match one byte on is worth a literal now.
        if (current.length < params_.niceLength && p + 1 < end) {
            Match next = bestMatch(p + 1, end, minPosition);
            if (next.cost > current.cost + 8) {
                literal(p);
                ++p;
                pending = next;
                continue;
            }
        }
        Symbol s{};
        LengthCode lc = lengthCode(current.length);
        s.litLen = lc.symbol;
        s.lengthBits = lc.bits;
        s.lengthExtra = lc.extra;
        s.distAlphabet = static_cast<std::uint8_t>(alphabetFor(current.length));
        if (current.distance == rep0_) {
            s.distSymbol = 0;
        } else if (current.distance == rep1_) {
            s.distSymbol = 1;
            std::swap(rep0_, rep1_);
        } else {
            explicitDistance(current.distance, s.distSymbol, s.distBits, s.distExtra);
            if (s.distSymbol >= 6) {
                rep1_ = rep0_;
                rep0_ = current.distance;
            }
        }
        symbols.push_back(s);
        p += current.length;
        pending = p < end ? bestMatch(p, end, minPosition) : Match{};
    }
}

void LzEncoder::encodeBlock(BitWriter& out, std::size_t start, std::size_t length, std::size_t history) {
    std::vector<Symbol> symbols;
    symbols.reserve(length / 2 + 16);
    parse(start, length, history, symbols);
    std::vector<std::size_t> starts = groupStarts(symbols);
    starts.push_back(symbols.size());
    const unsigned groups = static_cast<unsigned>(starts.size() - 1);

    std::vector<std::uint8_t> lengths;
    std::vector<std::vector<std::uint32_t>> codes;  // per group, all 372 symbols
    for (unsigned g = 0; g < groups; ++g) {
        GroupStats stats;
        for (std::size_t i = starts[g]; i < starts[g + 1]; ++i) stats.add(symbols[i]);
        if (g + 1 < groups) ++stats.freqs[kNextGroup];
        std::vector<std::uint8_t> groupLengths(kGroupSize, 0);
        std::vector<std::uint32_t> groupCodes(kGroupSize, 0);
        unsigned offsets[4] = {0, kDistOffset[0], kDistOffset[1], kDistOffset[2]};
        unsigned sizes[4] = {kLitLenSize, kDistSize[0], kDistSize[1], kDistSize[2]};
        for (int a = 0; a < 4; ++a) {
            std::vector<std::uint32_t> f(stats.freqs.begin() + offsets[a], stats.freqs.begin() + offsets[a] + sizes[a]);
            std::vector<std::uint8_t> l = buildCodeLengths(f, 16);
            std::vector<std::uint32_t> c = canonicalCodes(l);
            std::copy(l.begin(), l.end(), groupLengths.begin() + offsets[a]);
            std::copy(c.begin(), c.end(), groupCodes.begin() + offsets[a]);
        }
        lengths.insert(lengths.end(), groupLengths.begin(), groupLengths.end());
        codes.push_back(std::move(groupCodes));
    }

    out.putBits(3, 2);  // three distance alphabets
    out.putBits(groups, 6);
    writeCodeLengths(out, lengths, kGroupSize, groups);
    for (unsigned g = 0; g < groups; ++g) {
        const std::uint8_t* l = &lengths[static_cast<std::size_t>(g) * kGroupSize];
        const std::vector<std::uint32_t>& c = codes[g];
        for (std::size_t i = starts[g]; i < starts[g + 1]; ++i) {
            const Symbol& s = symbols[i];
            out.putCode(c[s.litLen], l[s.litLen]);
            if (s.distAlphabet == 0xFF) continue;
            out.putBits(s.lengthExtra, s.lengthBits);
            unsigned d = kDistOffset[s.distAlphabet] + s.distSymbol;
            out.putCode(c[d], l[d]);
            out.putBits(s.distExtra, s.distBits);
        }
        if (g + 1 < groups) out.putCode(c[kNextGroup], l[kNextGroup]);
    }
}
