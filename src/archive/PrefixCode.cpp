#include "archive/PrefixCode.h"

#include <cstring>

namespace {

std::uint32_t reverseBits(std::uint32_t code, int length) {
    std::uint32_t r = 0;
    for (int i = 0; i < length; ++i) {
        r = (r << 1) | (code & 1);
        code >>= 1;
    }
    return r;
}

}  // namespace

void PrefixCode::buildEmpty(int tableBits) {
    tableBits_ = tableBits;
    nodeCount_ = 0;
    values_ = nullptr;
    std::memset(table_, 0, sizeof(std::uint32_t) << tableBits);
}

bool PrefixCode::build(const std::uint8_t* lengths, int symbolCount, int tableBits,
                       const std::uint32_t* values) {
    buildEmpty(tableBits);
    values_ = values;
    int counts[kMaxLength + 1] = {};
    for (int s = 0; s < symbolCount; ++s) counts[lengths[s]]++;
    // Kraft check: more codes of a length than the space left means over-subscription.
    std::int32_t space = 1;
    for (int len = 1; len <= kMaxLength; ++len) {
        space = space * 2 - counts[len];
        if (space < 0) return false;
    }
    std::uint32_t nextCode[kMaxLength + 1] = {};
    std::uint32_t code = 0;
    counts[0] = 0;
    for (int len = 1; len <= kMaxLength; ++len) {
        code = (code + counts[len - 1]) << 1;
        nextCode[len] = code;
    }
    for (int s = 0; s < symbolCount; ++s) {
        int len = lengths[s];
        if (len == 0) continue;
        std::uint32_t c = nextCode[len]++;
        if (len <= tableBits) {
            std::uint32_t value = values ? values[s] & kValueMask : static_cast<std::uint32_t>(s);
            std::uint32_t entry = value | std::uint32_t(len) << kLengthShift;
            for (std::uint32_t i = reverseBits(c, len); i < (1u << tableBits); i += 1u << len)
                table_[i] = entry;
        } else if (!insertLong(c, len, s)) {
            return false;
        }
    }
    return true;
}

// The first k code bits pick the table entry; the rest walk a tree, one bit per level.
bool PrefixCode::insertLong(std::uint32_t code, int length, int symbol) {
    std::uint32_t index = reverseBits(code >> (length - tableBits_), tableBits_);
    std::uint32_t& entry = table_[index];
    if (!(entry & kTreeFlag)) {
        if (nodeCount_ >= kMaxNodes) return false;
        nodes_[nodeCount_][0] = nodes_[nodeCount_][1] = kNoChild;
        entry = kTreeFlag | static_cast<std::uint32_t>(nodeCount_++);
    }
    int node = static_cast<int>(entry & 0xFFFF);
    for (int bit = length - tableBits_ - 1; bit >= 0; --bit) {
        int side = (code >> bit) & 1;
        std::uint16_t& child = nodes_[node][side];
        if (bit == 0) {
            if (child != kNoChild) return false;
            child = static_cast<std::uint16_t>(symbol | kLeafFlag);
            break;
        }
        if (child == kNoChild) {
            if (nodeCount_ >= kMaxNodes) return false;
            nodes_[nodeCount_][0] = nodes_[nodeCount_][1] = kNoChild;
            child = static_cast<std::uint16_t>(nodeCount_++);
        } else if (child & kLeafFlag) {
            return false;
        }
        node = child;
    }
    return true;
}

int PrefixCode::decodeLong(std::uint64_t input, std::uint32_t entry) const {
    if (!(entry & kTreeFlag)) return -1;
    std::uint32_t bits = static_cast<std::uint32_t>(input & 0xFFFF);
    int node = static_cast<int>(entry & 0xFFFF);
    for (int level = tableBits_; level < kMaxLength; ++level) {
        std::uint16_t child = nodes_[node][(bits >> level) & 1];
        if (child == kNoChild) return -1;
        if (child & kLeafFlag) return (child & ~kLeafFlag) | (level + 1) << 16;
        node = child;
    }
    return -1;
}
