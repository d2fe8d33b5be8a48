// The optimal parse: over a segment of the block, the cheapest way to reach every
// position with literals, repeat-distance matches and chain matches, priced with
// the code lengths of an earlier parse; then the path is walked back and emitted.
#include <algorithm>
#include <limits>

#include "imppack/HuffmanCode.h"
#include "imppack/LzEncoder.h"
#include "imppack/LzSymbols.h"

using namespace lz;

namespace {

constexpr std::size_t kSegment = 4096;
constexpr std::size_t kSegmentLimit = 2 * kSegment;  // a segment grows to follow matches, up to this
constexpr std::uint32_t kUnreached = std::numeric_limits<std::uint32_t>::max();

std::uint32_t lengthPrice(const LzEncoder::Prices& prices, std::uint32_t length) {
    LengthCode lc = lengthCode(length);
    return prices.litLen[lc.symbol] + lc.bits;
}

std::vector<std::uint32_t> pricesFor(const std::vector<std::uint32_t>& freqs) {
    std::vector<std::uint8_t> lengths = buildCodeLengths(freqs, 16);
    std::uint32_t longest = *std::max_element(lengths.begin(), lengths.end());
    std::vector<std::uint32_t> prices(freqs.size());
    for (std::size_t s = 0; s < freqs.size(); ++s) prices[s] = freqs[s] != 0 ? lengths[s] : longest + 2;
    return prices;
}

}  // namespace

LzEncoder::Prices lzPrices(const std::vector<LzEncoder::Symbol>& symbols) {
    std::vector<std::uint32_t> litLen(288, 0);
    std::vector<std::vector<std::uint32_t>> dist = {std::vector<std::uint32_t>(42, 0), std::vector<std::uint32_t>(14, 0),
                                                    std::vector<std::uint32_t>(28, 0)};
    for (const LzEncoder::Symbol& s : symbols) {
        ++litLen[s.litLen];
        if (s.distAlphabet != 0xFF) ++dist[s.distAlphabet][s.distSymbol];
    }
    LzEncoder::Prices prices{};
    std::vector<std::uint32_t> l = pricesFor(litLen);
    std::copy(l.begin(), l.end(), prices.litLen);
    for (int a = 0; a < 3; ++a) {
        std::vector<std::uint32_t> d = pricesFor(dist[a]);
        std::fill(prices.dist[a], prices.dist[a] + 42, 64u);
        std::copy(d.begin(), d.end(), prices.dist[a]);
    }
    return prices;
}

void LzEncoder::relax(std::size_t index, const Node& node) {
    while (filled_ <= index) nodes_[filled_++].price = kUnreached;
    if (node.price < nodes_[index].price) nodes_[index] = node;
}

// Parses from `position` to a segment end of its choosing and emits the symbols of
// the cheapest path. Returns the segment's length.
std::size_t LzEncoder::optimalSegment(std::size_t position, std::size_t end, std::size_t minPosition,
                                      const Prices& prices) {
    if (nodes_.size() < kSegmentLimit + kMaxLength + 2) nodes_.resize(kSegmentLimit + kMaxLength + 2);
    filled_ = 1;
    nodes_[0] = {0, 0, 0, rep0_, rep1_};
    std::size_t segmentEnd = std::min(end, position + kSegment);
    std::size_t stop = 0;  // set when a long match ends the segment early
    for (std::size_t i = 0; position + i < segmentEnd && stop == 0; ++i) {
        const Node here = nodes_[i];
        const std::size_t p = position + i;
        relax(i + 1, {here.price + prices.litLen[data_[p]], 1, 0, here.rep0, here.rep1});
        std::size_t limit = std::min<std::size_t>(end - p, kMaxLength);
        std::uint32_t longest = 0;
        std::uint32_t longestDistance = 0;
        // Repeat distances: the code for `0` keeps them, `1` swaps them.
        for (int r = 0; r < 2; ++r) {
            std::uint32_t d = r == 0 ? here.rep0 : here.rep1;
            if (d == 0 || d > p - minPosition || limit < 2) continue;
            std::uint32_t len = matchLength(p, p - d, limit);
            std::uint32_t r0 = r == 0 ? here.rep0 : here.rep1, r1 = r == 0 ? here.rep1 : here.rep0;
            std::uint32_t from = len >= params_.niceLength ? len : 2;
            for (std::uint32_t L = from; L <= len; ++L)
                relax(i + L, {here.price + lengthPrice(prices, L) + prices.dist[alphabetFor(L)][r], L, d, r0, r1});
            if (len > longest) longest = len, longestDistance = d;
        }
        findMatches(p, end, minPosition, candidates_);
        std::uint32_t covered = 1;
        for (const Candidate& c : candidates_) {
            std::uint8_t symbol, bits;
            std::uint32_t extra;
            explicitDistance(c.distance, symbol, bits, extra);
            bool isRep = c.distance == here.rep0 || c.distance == here.rep1;
            std::uint32_t r0 = symbol >= 6 ? c.distance : here.rep0, r1 = symbol >= 6 ? here.rep0 : here.rep1;
            std::uint32_t from = c.length >= params_.niceLength ? c.length : covered + 1;
            for (std::uint32_t L = from; L <= c.length && !isRep; ++L) {
                unsigned a = alphabetFor(L);
                if (c.distance > kAlphabetReach[a]) continue;
                relax(i + L, {here.price + lengthPrice(prices, L) + prices.dist[a][symbol] + bits, L, c.distance, r0, r1});
            }
            covered = c.length;
            if (c.length > longest) longest = c.length, longestDistance = c.distance;
        }
        (void)longestDistance;
        if (longest >= params_.niceLength) {
            stop = i + longest;
        } else if (p + longest > segmentEnd) {
            segmentEnd = std::min(p + longest, position + kSegmentLimit);
        }
    }
    std::size_t last = stop != 0 ? stop : segmentEnd - position;
    // Walk back from the end, then emit forwards.
    std::vector<std::size_t> path;
    for (std::size_t at = last; at > 0; at -= nodes_[at].length) path.push_back(at);
    std::vector<Symbol>& out = *pendingSymbols_;
    std::size_t at = 0;
    for (std::size_t k = path.size(); k-- > 0;) {
        const Node& n = nodes_[path[k]];
        if (n.distance == 0)
            emitLiteral(position + at, out);
        else
            emitMatch(n.length, n.distance, out);
        at = path[k];
    }
    return last;
}

void LzEncoder::parseOptimal(std::size_t from, std::size_t to, std::size_t minPosition, const Prices& prices,
                             std::vector<Symbol>& symbols) {
    pendingSymbols_ = &symbols;
    for (std::size_t p = from; p < to;) p += optimalSegment(p, to, minPosition, prices);
    pendingSymbols_ = nullptr;
}
