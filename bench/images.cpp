// Decoding the largest JPEG and TGA members of an archive: the archive's own decode plus
// the image decode, and the image decode alone.
//   bench_images [--archive=PATH] [benchmark options]
// The archive is PATH, else $VOIDRIFT_ARCHIVE, else the build's data/data.ssd; where it
// has no member of a kind, a generated picture packed into a temporary archive stands in.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "../tests/support/TestJpeg.h"
#include "archive/ArchiveDirectory.h"
#include "archive/ArchiveMember.h"
#include "archive/ByteSource.h"
#include "archive/StreamDecoder.h"
#include "image/JpegImage.h"
#include "image/TgaImage.h"
#include "imppack/ArchiveWriter.h"

namespace {

struct BenchMember {
    std::string archive;
    std::string name;
    std::uint32_t size = 0;
};

BenchMember largestJpeg;
BenchMember largestTga;

bool endsWith(const std::string& s, const char* suffix) {
    std::size_t n = std::strlen(suffix);
    if (s.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != suffix[i]) return false;
    return true;
}

void findLargestMembers(const std::string& path) {
    FileSource source;
    if (!source.open(path.c_str())) return;
    StreamDecoder decoder(source);
    ArchiveDirectory directory(source, decoder);
    if (!decoder.ready() || directory.open() != 0) return;
    DirectoryEntry entry;
    while (directory.next(entry) == 1) {
        std::string name(entry.name, entry.nameLength);
        BenchMember* best = endsWith(name, ".jpg") || endsWith(name, ".jpeg") ? &largestJpeg
                            : endsWith(name, ".tga")                         ? &largestTga
                                                                             : nullptr;
        if (best && entry.size > best->size) *best = BenchMember{path, name, entry.size};
    }
}

// A 1024 x 1024 photo-like JPEG and a 512 x 512 run-length coded 32-bit TGA.
std::vector<std::uint8_t> generatedJpeg() {
    std::vector<std::uint8_t> pixels(1024 * 1024 * 3);
    std::uint32_t state = 1;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        state = state * 1103515245u + 12345u;
        std::size_t x = (i / 3) % 1024, y = i / 3 / 1024;
        pixels[i] = std::uint8_t((x + y * (i % 3 + 1)) / 8 + (state >> 28));
    }
    return writeTestJpeg(pixels, 1024, 1024, 3, {85, ""});
}

std::vector<std::uint8_t> generatedTga() {
    std::vector<std::uint8_t> out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 32, 8};
    for (int row = 0; row < 512; ++row)
        for (int packet = 0; packet < 4; ++packet) {
            bool repeat = (row + packet) % 2 == 0;
            out.push_back(std::uint8_t((repeat ? 0x80 : 0) | 127));
            for (int i = 0; i < (repeat ? 1 : 128); ++i) {
                std::uint8_t v = std::uint8_t(row + i + packet * 64);
                out.insert(out.end(), {v, std::uint8_t(255 - v), std::uint8_t(v / 2), 200});
            }
        }
    return out;
}

void packStandIns() {
    static std::string path = (std::filesystem::temp_directory_path() / "voidrift_bench_images.ssd").string();
    std::vector<PackInput> inputs = {{"textures\\bench.jpg", generatedJpeg()}, {"textures\\bench.tga", generatedTga()}};
    if (!writeArchive(path, inputs, PackOptions{})) return;
    if (largestJpeg.size == 0)
        largestJpeg = BenchMember{path, inputs[0].memberName, std::uint32_t(inputs[0].bytes.size())};
    if (largestTga.size == 0)
        largestTga = BenchMember{path, inputs[1].memberName, std::uint32_t(inputs[1].bytes.size())};
}

std::string chooseArchive(int& argc, char** argv) {
    std::string path;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--archive=", 10) != 0) continue;
        path = argv[i] + 10;
        for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
        --argc;
        break;
    }
    if (path.empty() && std::getenv("VOIDRIFT_ARCHIVE")) path = std::getenv("VOIDRIFT_ARCHIVE");
    if (path.empty()) path = std::string(VOIDRIFT_BINARY_DIR) + "/data/data.ssd";
    return path;
}

void describe(benchmark::State& state, const BenchMember& member, int width, int height) {
    state.SetLabel(member.name + " " + std::to_string(width) + "x" + std::to_string(height) + " from " +
                   std::filesystem::path(member.archive).filename().string());
}

void BM_JpegMember(benchmark::State& state) {
    JpegImage image;
    for (auto _ : state) {
        ArchiveMember member;
        member.openFrom(largestJpeg.archive.c_str(), largestJpeg.name.c_str());
        decodeJpeg(member.data(), member.size(), image);
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * image.pixels.size());
    describe(state, largestJpeg, image.width, image.height);
}

void BM_JpegDecodeOnly(benchmark::State& state) {
    ArchiveMember member;
    member.openFrom(largestJpeg.archive.c_str(), largestJpeg.name.c_str());
    JpegImage image;
    for (auto _ : state) {
        decodeJpeg(member.data(), member.size(), image);
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * image.pixels.size());
    describe(state, largestJpeg, image.width, image.height);
}

void BM_TgaMember(benchmark::State& state) {
    TgaImage image;
    for (auto _ : state) {
        ArchiveMember member;
        member.openFrom(largestTga.archive.c_str(), largestTga.name.c_str());
        decodeTga(member.data(), member.size(), image);
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * image.pixels.size());
    describe(state, largestTga, image.width, image.height);
}

void BM_TgaDecodeOnly(benchmark::State& state) {
    ArchiveMember member;
    member.openFrom(largestTga.archive.c_str(), largestTga.name.c_str());
    TgaImage image;
    for (auto _ : state) {
        decodeTga(member.data(), member.size(), image);
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * image.pixels.size());
    describe(state, largestTga, image.width, image.height);
}

}  // namespace

BENCHMARK(BM_JpegMember)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegDecodeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TgaMember)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TgaDecodeOnly)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    std::string archive = chooseArchive(argc, argv);
    if (std::filesystem::exists(archive)) findLargestMembers(archive);
    if (largestJpeg.size == 0 || largestTga.size == 0) packStandIns();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
