// The backward walk is one long chain of dependent loads at random places in the
// vector, so it runs at memory latency. Instead the walk is cut at evenly spaced
// starting places into many chains that are followed side by side: a first pass
// finds each chain's length and which chain follows it, a second writes the bytes.
// Both passes keep many loads in flight at once.
#include "archive/BwtInverse.h"

namespace {

constexpr std::uint32_t kChainStart = 1u << 23;   // the successor starts a chain
constexpr std::uint32_t kPositionMask = kChainStart - 1;
constexpr int kMaxChains = 64;
constexpr std::uint32_t kMinChainedSize = 1u << 14;  // below this the plain walk is as quick

struct Chains {
    int count = 0;
    std::uint32_t shift = 0;  // chain c starts at position c << shift
    std::uint32_t length[kMaxChains];
    std::uint8_t successor[kMaxChains];
};

// Fills the vector; entries whose successor starts a chain carry kChainStart.
void fillVector(const std::uint8_t* block, std::uint32_t size, std::uint32_t endPosition,
                const std::uint32_t* counts, std::uint32_t* vector, std::uint32_t startMask) {
    std::uint32_t next[256];
    std::uint32_t sum = 1;  // the end position sorts first
    for (int v = 0; v < 256; ++v) {
        next[v] = sum;
        sum += counts[v];
    }
    for (std::uint32_t i = 0; i <= size; ++i) {
        if (i == endPosition) {
            vector[i] = kChainStart;  // back to position 0, where the first chain starts
            continue;
        }
        std::uint8_t v = block[i];
        std::uint32_t position = next[v]++;
        std::uint32_t flag = (position & startMask) == 0 ? kChainStart : 0;
        vector[i] = std::uint32_t(v) << 24 | flag | position;
    }
}

// First pass: every chain's length and successor. False when the positions do not
// form one cycle through all chains (a damaged block).
bool measureChains(const std::uint32_t* vector, std::uint32_t size, Chains& chains) {
    std::uint32_t index[kMaxChains];
    std::uint8_t active[kMaxChains];
    int activeCount = chains.count;
    for (int c = 0; c < chains.count; ++c) {
        index[c] = static_cast<std::uint32_t>(c) << chains.shift;
        chains.length[c] = 0;
        active[c] = static_cast<std::uint8_t>(c);
    }
    std::uint32_t steps = 0;
    while (activeCount > 0) {
        steps += static_cast<std::uint32_t>(activeCount);
        if (steps > size + 1) return false;  // some chain never reaches a start
        for (int a = 0; a < activeCount;) {
            int c = active[a];
            std::uint32_t entry = vector[index[c]];
            chains.length[c]++;
            index[c] = entry & kPositionMask;
            if (entry & kChainStart) {
                chains.successor[c] = static_cast<std::uint8_t>(index[c] >> chains.shift);
                active[a] = active[--activeCount];
            } else {
                ++a;
            }
        }
    }
    // One cycle: from chain 0 through every chain back to 0, covering every position.
    std::uint32_t total = 0;
    int c = 0;
    for (int n = 0; n < chains.count; ++n) {
        if (n > 0 && c == 0) return false;
        total += chains.length[c];
        c = chains.successor[c];
    }
    return c == 0 && total == size + 1;
}

// Second pass: chains in walk order, each writing its bytes downwards from where
// the chains before it ended. The last chain ends at the end position, whose entry
// carries no byte.
void writeChains(std::uint8_t* block, std::uint32_t size, const std::uint32_t* vector,
                 const Chains& chains, std::uint8_t offset) {
    std::uint32_t index[kMaxChains], left[kMaxChains], out[kMaxChains];
    std::uint32_t done = 0;
    int c = 0;
    for (int n = 0; n < chains.count; ++n) {
        index[n] = static_cast<std::uint32_t>(c) << chains.shift;
        left[n] = chains.length[c] - (n == chains.count - 1 ? 1 : 0);
        out[n] = size - 1 - done;  // wraps below 0 only for a chain with nothing to write
        done += chains.length[c];
        c = chains.successor[c];
    }
    int activeCount = chains.count;
    for (int a = 0; a < activeCount;) {
        if (left[a] == 0) {
            --activeCount;
            index[a] = index[activeCount];
            left[a] = left[activeCount];
            out[a] = out[activeCount];
        } else {
            ++a;
        }
    }
    while (activeCount > 0) {
        for (int a = 0; a < activeCount;) {
            std::uint32_t entry = vector[index[a]];
            block[out[a]--] = static_cast<std::uint8_t>((entry >> 24) + offset);
            index[a] = entry & kPositionMask;
            if (--left[a] == 0) {
                --activeCount;
                index[a] = index[activeCount];
                left[a] = left[activeCount];
                out[a] = out[activeCount];
            } else {
                ++a;
            }
        }
    }
}

}  // namespace

void inverseBwtWalk(std::uint8_t* block, std::uint32_t size, const std::uint32_t* vector,
                    std::uint8_t offset) {
    std::uint32_t index = 0;
    for (std::uint32_t i = size; i-- > 0;) {
        std::uint32_t entry = vector[index & kPositionMask];
        block[i] = static_cast<std::uint8_t>((entry >> 24) + offset);
        index = entry;
    }
}

void inverseBwt(std::uint8_t* block, std::uint32_t size, std::uint32_t endPosition,
                const std::uint32_t* counts, std::uint32_t* vector, std::uint8_t offset) {
    Chains chains;
    if (size >= kMinChainedSize) {
        // Chains start every 2^shift positions: at most kMaxChains of them.
        chains.shift = 8;
        while (((size >> chains.shift) + 1) > kMaxChains) ++chains.shift;
        chains.count = static_cast<int>((size >> chains.shift) + 1);
    }
    std::uint32_t startMask = chains.count > 0 ? (1u << chains.shift) - 1 : kPositionMask;
    fillVector(block, size, endPosition, counts, vector, startMask);
    if (chains.count > 0 && measureChains(vector, size, chains)) {
        writeChains(block, size, vector, chains, offset);
        return;
    }
    inverseBwtWalk(block, size, vector, offset);
}
