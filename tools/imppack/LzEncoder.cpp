#include "imppack/LzEncoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "imppack/CodeLengthWriter.h"
#include "imppack/HuffmanCode.h"
#include "imppack/LzSymbols.h"

using namespace lz;

namespace {

constexpr unsigned kLitLenSize = 288;
constexpr unsigned kGroupSize = 372;  // with three distance alphabets
constexpr unsigned kDistOffset[3] = {288, 330, 344};
constexpr unsigned kDistSize[3] = {42, 14, 28};
constexpr std::uint16_t kNextGroup = 256;
constexpr std::uint16_t kDeltaMarker = 287;
constexpr unsigned kMaxGroups = 63;
constexpr std::size_t kChunkSymbols = 4096;
constexpr double kTableCostBits = 300.0;

constexpr unsigned kHashBits = 18;
constexpr unsigned kHash3Bits = 14;
constexpr std::size_t kChainSize = std::size_t{1} << 21;  // more than the longest distance

unsigned hash3(const std::uint8_t* p) {
    std::uint32_t v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                      (static_cast<std::uint32_t>(p[2]) << 16);
    return (v * 2654435761u) >> (32 - kHash3Bits);
}

unsigned hash4(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
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
    : data_(data), size_(size), params_(params), head_(std::size_t{1} << kHashBits, -1),
      head3_(std::size_t{1} << kHash3Bits, -1), depth_(params.chainDepth) {
    // The chain ring needs to cover the longest distance, or the whole input if shorter.
    std::size_t ring = 1024;
    while (ring < kChainSize && ring < size) ring *= 2;
    chain_.assign(ring, -1);
}

void LzEncoder::insertUpTo(std::size_t position) {
    std::size_t limit = std::min(position, size_ >= 3 ? size_ - 3 : 0);
    for (; inserted_ < limit; ++inserted_) {
        const std::uint8_t* p = data_ + inserted_;
        unsigned h = hash4(p);
        chain_[inserted_ & (chain_.size() - 1)] = head_[h];
        head_[h] = static_cast<std::int32_t>(inserted_);
        unsigned h3 = hash3(p);
        if (recording_) undo3_.push_back(head3_[h3]);
        head3_[h3] = static_cast<std::int32_t>(inserted_);
    }
    if (inserted_ < position) inserted_ = position;
}

std::uint32_t LzEncoder::matchLength(std::size_t position, std::size_t candidate, std::size_t limit) const {
    std::size_t n = 0;
    while (n + 8 <= limit) {
        std::uint64_t a, b;
        std::memcpy(&a, data_ + candidate + n, 8);
        std::memcpy(&b, data_ + position + n, 8);
        if (a != b) return static_cast<std::uint32_t>(n + (__builtin_ctzll(a ^ b) >> 3));
        n += 8;
    }
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
    if (best.length >= params_.niceLength || best.length >= limit) return best;
    findMatches(position, end, minPosition, candidates_);
    for (const Candidate& c : candidates_) {
        if (c.distance > kAlphabetReach[alphabetFor(c.length)]) continue;
        int cost = static_cast<int>(c.length) * 8 - lengthCost(c.length) - distanceCost(c.distance);
        if (cost > best.cost) best = {c.length, c.distance, cost};
    }
    return best;
}

// Candidates in increasing length, each the nearest found that reaches its length:
// the latest place with the same three bytes (for short matches), then the chain of
// places with the same four bytes.
void LzEncoder::findMatches(std::size_t position, std::size_t end, std::size_t minPosition,
                            std::vector<Candidate>& found) {
    found.clear();
    std::size_t limit = std::min<std::size_t>(end - position, kMaxLength);
    if (limit < 3) return;
    insertUpTo(position);
    const std::uint8_t* here = data_ + position;
    std::uint32_t bestLen = 2;
    std::int32_t near = head3_[hash3(here)];
    if (near >= 0 && static_cast<std::size_t>(near) >= minPosition && position - near <= kAlphabetReach[2]) {
        std::uint32_t len = matchLength(position, static_cast<std::size_t>(near), limit);
        if (len >= 3) {
            found.push_back({len, static_cast<std::uint32_t>(position - near)});
            bestLen = len;
        }
    }
    if (limit < 4) return;
    std::int32_t candidate = head_[hash4(here)];
    for (unsigned depth = depth_; depth > 0 && candidate >= 0 && bestLen < limit; --depth) {
        std::size_t c = static_cast<std::size_t>(candidate);
        if (c < minPosition || position - c > kMaxDistance) break;
        if (data_[c + bestLen] == here[bestLen] && data_[c] == here[0]) {
            std::uint32_t len = matchLength(position, c, limit);
            if (len > bestLen) {
                found.push_back({len, static_cast<std::uint32_t>(position - c)});
                bestLen = len;
                if (len >= params_.niceLength) break;
            }
        }
        candidate = chain_[c & (chain_.size() - 1)];
    }
}

void LzEncoder::emitLiteral(std::size_t position, std::vector<Symbol>& symbols) {
    symbols.push_back({data_[position], 0, 0xFF, 0, 0, 0, 0});
}

// Codes a match as the reader will read it, keeping the repeat distances in step.
void LzEncoder::emitMatch(std::uint32_t length, std::uint32_t distance, std::vector<Symbol>& symbols) {
    Symbol s{};
    LengthCode lc = lengthCode(length);
    s.litLen = lc.symbol;
    s.lengthBits = lc.bits;
    s.lengthExtra = lc.extra;
    s.distAlphabet = static_cast<std::uint8_t>(alphabetFor(length));
    if (distance == rep0_) {
        s.distSymbol = 0;
    } else if (distance == rep1_) {
        s.distSymbol = 1;
        std::swap(rep0_, rep1_);
    } else {
        explicitDistance(distance, s.distSymbol, s.distBits, s.distExtra);
        if (s.distSymbol >= 6) {
            rep1_ = rep0_;
            rep0_ = distance;
        }
    }
    symbols.push_back(s);
}

void LzEncoder::parseLazy(std::size_t from, std::size_t to, std::size_t minPosition, std::vector<Symbol>& symbols) {
    const std::size_t end = to;
    std::size_t p = from;
    Match pending = bestMatch(p, end, minPosition);
    while (p < end) {
        Match current = pending;
        if (current.cost <= 0) {
            emitLiteral(p++, symbols);
            pending = p < end ? bestMatch(p, end, minPosition) : Match{};
            continue;
        }
        // Lazy step: a better match one byte on is worth a literal now.
        if (current.length < params_.niceLength && p + 1 < end) {
            Match next = bestMatch(p + 1, end, minPosition);
            if (next.cost > current.cost + 8) {
                emitLiteral(p++, symbols);
                pending = next;
                continue;
            }
        }
        emitMatch(current.length, current.distance, symbols);
        p += current.length;
        pending = p < end ? bestMatch(p, end, minPosition) : Match{};
    }
}

// Forgets the chains and rebuilds them over the window before `position`.
// Starts recording what insertions replace, so that rewind() can take them back.
void LzEncoder::mark() {
    recording_ = true;
    undo3_.clear();
    markedAt_ = inserted_;
}

// Takes back every insertion since mark(), newest first: the chain ring holds the
// head each 4-byte hash had before, the undo list the 3-byte ones.
void LzEncoder::rewind() {
    std::size_t real = std::min(inserted_, size_ >= 3 ? size_ - 3 : 0);
    for (std::size_t pos = real; pos-- > markedAt_;) {
        const std::uint8_t* p = data_ + pos;
        head_[hash4(p)] = chain_[pos & (chain_.size() - 1)];
        head3_[hash3(p)] = undo3_[pos - markedAt_];
    }
    inserted_ = markedAt_;
    recording_ = false;
    undo3_.clear();
}

// The body's symbols: delta markers where regions start, the parse in between
// (matches never run across a marker). Lazy without prices, optimal with them.
void LzEncoder::parseBody(std::size_t start, std::size_t length, std::size_t history,
                          const std::vector<DeltaMarker>& markers, const Prices* prices, std::vector<Symbol>& symbols) {
    const std::size_t minPosition = start - history;
    rep0_ = rep1_ = 0;  // the reader starts every body without repeat distances
    std::size_t from = start;
    for (std::size_t m = 0; m <= markers.size(); ++m) {
        std::size_t to = m < markers.size() ? markers[m].position : start + length;
        if (to > from) {
            if (prices)
                parseOptimal(from, to, minPosition, *prices, symbols);
            else
                parseLazy(from, to, minPosition, symbols);
        }
        if (m < markers.size()) symbols.push_back({kDeltaMarker, 3, 0xFF, 0, 0, markers[m].distance, 0});
        from = to;
    }
}

void LzEncoder::encodeBlock(BitWriter& out, std::size_t start, std::size_t length, std::size_t history,
                            const std::vector<DeltaMarker>& markers) {
    std::vector<Symbol> symbols;
    symbols.reserve(length / 2 + 16);
    // With an optimal parse to follow, the lazy one only gathers prices: a shallow search does.
    depth_ = params_.optimal ? std::max(4u, params_.chainDepth / 4) : params_.chainDepth;
    if (params_.optimal) mark();
    parseBody(start, length, history, markers, nullptr, symbols);
    if (params_.optimal) {
        Prices prices = lzPrices(symbols);
        symbols.clear();
        rewind();
        depth_ = params_.chainDepth;
        parseBody(start, length, history, markers, &prices, symbols);
    }
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
            out.putBits(s.lengthExtra, s.lengthBits);  // also a delta marker's distance
            if (s.distAlphabet == 0xFF) continue;
            unsigned d = kDistOffset[s.distAlphabet] + s.distSymbol;
            out.putCode(c[d], l[d]);
            out.putBits(s.distExtra, s.distBits);
        }
        if (g + 1 < groups) out.putCode(c[kNextGroup], l[kNextGroup]);
    }
}
