// Deterministic sample data for the packer's tests: text, structured binary,
// an image-like gradient, x86-like code and random bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/ExtractMember.h"
#include "imppack/ArchiveWriter.h"

namespace corpus {

inline std::uint32_t nextRandom(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

inline std::vector<std::uint8_t> text(std::size_t n, std::uint32_t seed = 1) {
    static const char* words[] = {"camera", "world", "flare", "mesh", "begin", "end", "V(0.5 1.0 2.0)",
                                  "texture", "galaxy", "speed", "\n", "Q(0 0 0 1)", "fog", "keys", "  "};
    std::vector<std::uint8_t> out;
    std::uint32_t state = seed;
    while (out.size() < n) {
        const char* w = words[nextRandom(state) % 15];
        out.insert(out.end(), w, w + std::string(w).size());
        out.push_back(' ');
    }
    out.resize(n);
    return out;
}

inline std::vector<std::uint8_t> randomBytes(std::size_t n, std::uint32_t seed = 7) {
    std::vector<std::uint8_t> out(n);
    std::uint32_t state = seed;
    for (auto& b : out) b = static_cast<std::uint8_t>(nextRandom(state));
    return out;
}

// Records of floats and indices, like a mesh file.
inline std::vector<std::uint8_t> records(std::size_t n, std::uint32_t seed = 3) {
    std::vector<std::uint8_t> out;
    std::uint32_t state = seed;
    for (std::uint32_t i = 0; out.size() < n; ++i) {
        float f = static_cast<float>(i % 97) * 0.25f + static_cast<float>(nextRandom(state) % 4);
        const auto* p = reinterpret_cast<const std::uint8_t*>(&f);
        out.insert(out.end(), p, p + 4);
        out.push_back(static_cast<std::uint8_t>(i));
        out.push_back(static_cast<std::uint8_t>(i >> 8));
    }
    out.resize(n);
    return out;
}

// A smooth RGB gradient with a little noise, like an uncompressed texture.
inline std::vector<std::uint8_t> gradient(std::size_t n, std::uint32_t seed = 5) {
    std::vector<std::uint8_t> out(n);
    std::uint32_t state = seed;
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<std::uint8_t>((i / 3) % 256 + (i % 3) * 40 + nextRandom(state) % 3);
    return out;
}

// Code-like bytes with many E8 calls to nearby targets.
inline std::vector<std::uint8_t> calls(std::size_t n, std::uint32_t seed = 11) {
    std::vector<std::uint8_t> out;
    std::uint32_t state = seed;
    const std::int32_t targets[4] = {64, 4096, 20000, 512};
    while (out.size() < n) {
        if (nextRandom(state) % 4 == 0) {
            std::int32_t target = targets[nextRandom(state) % 4];
            std::int32_t rel = target - static_cast<std::int32_t>(out.size() + 5);
            out.push_back(0xE8);
            for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(rel) >> (8 * i)));
        } else {
            static const std::uint8_t ops[] = {0x55, 0x89, 0xE5, 0x83, 0xEC, 0x8B, 0x45, 0x08, 0xC3, 0x90};
            out.push_back(ops[nextRandom(state) % 10]);
        }
    }
    out.resize(n);
    return out;
}

inline PackOptions withMethod(Method method) {
    PackOptions options;
    options.method = method;
    return options;
}

// Decodes `name` from an archive image with the reader; returns its result code.
inline int extract(const std::vector<std::uint8_t>& archive, const std::string& name, std::vector<std::uint8_t>& bytes) {
    std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
    int result = extractMemberFromMemory(archive.data(), archive.size(), name.c_str(), data, size);
    bytes.assign(data, data + size);
    delete[] data;
    return result;
}

}  // namespace corpus
