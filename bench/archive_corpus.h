// The benchmark corpus for the archive codecs: about 8 MiB, built the same way on
// every run: this repository's sources, text generated from their statistics, and
// generated binary data (mesh records, image pixels, machine-code-like bytes).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace bench_corpus {

inline std::uint32_t nextRandom(std::uint64_t& state) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::uint32_t>(state >> 33);
}

inline std::vector<std::uint8_t> repositorySources() {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (const char* dir : {"src", "tools", "tests", "bench", "cmake", "content"}) {
        fs::path root = fs::path(VOIDRIFT_SOURCE_DIR) / dir;
        std::error_code ec;
        if (!fs::is_directory(root, ec)) continue;
        for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
            std::string ext = it->path().extension().string();
            if (it->is_regular_file(ec) && (ext == ".cpp" || ext == ".h" || ext == ".txt" || ext == ".cmake"))
                files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<std::uint8_t> out;
    for (const fs::path& f : files) {
        std::ifstream in(f, std::ios::binary);
        out.insert(out.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return out;
}

// Order-3 character model of `sample`, sampled to n bytes: text-like, without long repeats.
inline std::vector<std::uint8_t> modelText(const std::vector<std::uint8_t>& sample, std::size_t n) {
    std::vector<std::uint8_t> out;
    if (sample.size() < 16) return std::vector<std::uint8_t>(n, ' ');
    std::uint64_t state = 12345;
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) out.push_back(sample[i]);
    // Sampling the model = jumping to a random earlier place with the same 3-byte context.
    std::vector<std::uint32_t> head(1 << 24, 0xFFFFFFFFu), next(sample.size(), 0xFFFFFFFFu);
    for (std::size_t i = 3; i < sample.size(); ++i) {
        std::uint32_t ctx = sample[i - 3] | (sample[i - 2] << 8) | (sample[i - 1] << 16);
        next[i] = head[ctx];
        head[ctx] = static_cast<std::uint32_t>(i);
    }
    while (out.size() < n) {
        std::size_t k = out.size();
        std::uint32_t ctx = out[k - 3] | (out[k - 2] << 8) | (out[k - 1] << 16);
        std::uint32_t candidate = head[ctx];
        unsigned skip = nextRandom(state) % 8;
        for (unsigned s = 0; s < skip && candidate != 0xFFFFFFFFu && next[candidate] != 0xFFFFFFFFu; ++s)
            candidate = next[candidate];
        at = candidate == 0xFFFFFFFFu ? nextRandom(state) % sample.size() : candidate;
        out.push_back(sample[at]);
    }
    return out;
}

inline void appendMeshRecords(std::vector<std::uint8_t>& out, std::size_t n, std::uint64_t& state) {
    std::size_t end = out.size() + n;
    for (std::uint32_t i = 0; out.size() < end; ++i) {
        float v[8] = {std::sin(i * 0.01f) * 40.0f, std::cos(i * 0.013f) * 40.0f, (i % 200) * 0.5f,
                      0.0f, 1.0f, 0.0f, (i % 64) / 64.0f, (nextRandom(state) % 64) / 64.0f};
        const auto* p = reinterpret_cast<const std::uint8_t*>(v);
        out.insert(out.end(), p, p + sizeof v);
    }
    out.resize(end);
}

inline void appendPixels(std::vector<std::uint8_t>& out, std::size_t n, std::uint64_t& state) {
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t px = i / 3, x = px % 512, y = px / 512;
        int v = static_cast<int>((x + y) / 4 + (i % 3) * 50) + static_cast<int>(nextRandom(state) % 9) - 4;
        out.push_back(static_cast<std::uint8_t>(v));
    }
}

inline void appendCode(std::vector<std::uint8_t>& out, std::size_t n, std::uint64_t& state) {
    static const std::uint8_t ops[][4] = {{0x55, 0, 0, 1}, {0x89, 0xE5, 0, 2}, {0x8B, 0x45, 0x08, 3},
                                           {0x83, 0xEC, 0x10, 3}, {0xC3, 0, 0, 1}, {0x31, 0xC0, 0, 2},
                                           {0x50, 0, 0, 1}, {0x5D, 0, 0, 1}, {0x85, 0xC0, 0, 2}};
    std::size_t end = out.size() + n;
    std::size_t base = out.size();
    while (out.size() < end) {
        std::uint32_t r = nextRandom(state);
        if (r % 5 == 0) {
            std::int32_t target = static_cast<std::int32_t>((r >> 4) % (n / 64 + 1)) * 64;
            std::int32_t rel = target - static_cast<std::int32_t>(out.size() - base + 5);
            out.push_back(0xE8);
            for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(rel) >> (8 * i)));
        } else {
            const std::uint8_t* op = ops[(r >> 8) % 9];
            out.insert(out.end(), op, op + op[3]);
        }
    }
    out.resize(end);
}

// The corpus mix at `total` bytes (at least 64 KiB): half text, half binary.
inline std::vector<std::uint8_t> corpusOfSize(std::size_t total) {
    std::vector<std::uint8_t> out = repositorySources();
    if (out.size() > total / 4) out.resize(total / 4);
    std::vector<std::uint8_t> generated = modelText(out, total / 2 - out.size());
    out.insert(out.end(), generated.begin(), generated.end());
    std::uint64_t state = 99;
    appendMeshRecords(out, total / 6, state);
    appendPixels(out, total / 6, state);
    appendCode(out, total - out.size(), state);
    return out;
}

// The benchmark corpus: the mix at 8 MiB.
inline const std::vector<std::uint8_t>& corpus() {
    static const std::vector<std::uint8_t> bytes = corpusOfSize(8u << 20);
    return bytes;
}

}  // namespace bench_corpus
