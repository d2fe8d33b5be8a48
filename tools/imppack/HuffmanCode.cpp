#include "imppack/HuffmanCode.h"

#include <algorithm>

namespace {

struct Node {
    std::uint64_t weight;
    int left;   // index into the node list, or -1 for a leaf
    int right;
    int symbol;
};

// Plain Huffman lengths over the symbols with a nonzero weight (at least two).
unsigned huffmanLengths(const std::vector<std::uint64_t>& weights, std::vector<std::uint8_t>& lengths) {
    std::vector<Node> nodes;
    for (std::size_t s = 0; s < weights.size(); ++s)
        if (weights[s] != 0) nodes.push_back({weights[s], -1, -1, static_cast<int>(s)});
    std::stable_sort(nodes.begin(), nodes.end(), [](const Node& a, const Node& b) { return a.weight < b.weight; });
    std::size_t leafCount = nodes.size();
    // Two-queue merge: leaves in order, internal nodes appended in increasing weight.
    std::size_t nextLeaf = 0, nextInner = leafCount;
    auto takeSmallest = [&]() {
        if (nextLeaf < leafCount && (nextInner >= nodes.size() || nodes[nextLeaf].weight <= nodes[nextInner].weight))
            return static_cast<int>(nextLeaf++);
        return static_cast<int>(nextInner++);
    };
    for (std::size_t merges = 0; merges + 1 < leafCount; ++merges) {
        int a = takeSmallest();
        int b = takeSmallest();
        nodes.push_back({nodes[a].weight + nodes[b].weight, a, b, -1});
    }
    // Depths from the root down; children always come before their parent in the list.
    std::vector<unsigned> depth(nodes.size(), 0);
    unsigned maxDepth = 0;
    for (std::size_t i = nodes.size(); i-- > 0;) {
        if (nodes[i].left < 0) {
            lengths[nodes[i].symbol] = static_cast<std::uint8_t>(depth[i]);
            maxDepth = std::max(maxDepth, depth[i]);
            continue;
        }
        depth[nodes[i].left] = depth[i] + 1;
        depth[nodes[i].right] = depth[i] + 1;
    }
    return maxDepth;
}

}  // namespace

std::vector<std::uint8_t> buildCodeLengths(const std::vector<std::uint32_t>& freqs, unsigned maxLength) {
    std::vector<std::uint64_t> weights(freqs.begin(), freqs.end());
    unsigned used = 0;
    for (std::uint64_t w : weights) used += w != 0;
    for (std::size_t s = 0; used < 2 && s < weights.size(); ++s) {
        if (weights[s] == 0) {
            weights[s] = 1;
            ++used;
        }
    }
    std::vector<std::uint8_t> lengths(freqs.size(), 0);
    if (used < 2) {  // an alphabet of one symbol: a single 1-bit code is all there is
        for (std::size_t s = 0; s < weights.size(); ++s) lengths[s] = weights[s] != 0;
        return lengths;
    }
    // Flatten the weights until the tree is shallow enough; converges within a few rounds.
    while (huffmanLengths(weights, lengths) > maxLength) {
        for (std::uint64_t& w : weights)
            if (w != 0) w = 1 + w / 2;
    }
    return lengths;
}

std::vector<std::uint32_t> canonicalCodes(const std::vector<std::uint8_t>& lengths) {
    std::uint32_t count[33] = {};
    for (std::uint8_t l : lengths) ++count[l];
    count[0] = 0;
    std::uint32_t next[33] = {};
    std::uint32_t code = 0;
    for (unsigned bits = 1; bits <= 32; ++bits) {
        code = (code + count[bits - 1]) << 1;
        next[bits] = code;
    }
    std::vector<std::uint32_t> codes(lengths.size(), 0);
    for (std::size_t s = 0; s < lengths.size(); ++s)
        if (lengths[s] != 0) codes[s] = next[lengths[s]]++;
    return codes;
}

std::uint64_t codedBits(const std::vector<std::uint32_t>& freqs, const std::vector<std::uint8_t>& lengths) {
    std::uint64_t bits = 0;
    for (std::size_t s = 0; s < freqs.size(); ++s) bits += static_cast<std::uint64_t>(freqs[s]) * lengths[s];
    return bits;
}
