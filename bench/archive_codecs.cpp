// Decode speed and packed size of our LZ and BWT members against zlib (Deflate,
// level 9 as gzip -9) and bzip2 (-9) on the same bytes. Sizes go out as counters.
#include <benchmark/benchmark.h>
#include <bzlib.h>
#include <zlib.h>

#include <cstring>
#include <map>
#include <memory>
#include <utility>

#include "archive/ExtractMember.h"
#include "archive_corpus.h"
#include "imppack/ArchiveWriter.h"

namespace {

const char* kName = "corpus.bin";

// One archive per method and block size (0: the writer's default), packed once.
const std::vector<std::uint8_t>& archiveFor(Method method, std::uint32_t blockSize = 0) {
    static std::map<std::pair<int, std::uint32_t>, std::vector<std::uint8_t>> archives;
    std::vector<std::uint8_t>& a = archives[{static_cast<int>(method), blockSize}];
    if (a.empty()) {
        PackOptions options;
        options.method = method;
        options.blockSize = blockSize;
        a = packArchive({{kName, bench_corpus::corpus(), false}}, options);
    }
    return a;
}

const std::vector<std::uint8_t>& gzipped() {
    static const std::vector<std::uint8_t> packed = [] {
        const auto& in = bench_corpus::corpus();
        uLongf size = compressBound(in.size());
        std::vector<std::uint8_t> out(size);
        compress2(out.data(), &size, in.data(), in.size(), 9);
        out.resize(size);
        return out;
    }();
    return packed;
}

const std::vector<std::uint8_t>& bzipped() {
    static const std::vector<std::uint8_t> packed = [] {
        const auto& in = bench_corpus::corpus();
        unsigned size = static_cast<unsigned>(in.size() + in.size() / 100 + 600);
        std::vector<std::uint8_t> out(size);
        BZ2_bzBuffToBuffCompress(reinterpret_cast<char*>(out.data()), &size,
                                 const_cast<char*>(reinterpret_cast<const char*>(in.data())),
                                 static_cast<unsigned>(in.size()), 9, 0, 0);
        out.resize(size);
        return out;
    }();
    return packed;
}

void reportSizes(benchmark::State& state, std::size_t packed) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bench_corpus::corpus().size()));
    state.counters["corpus"] = static_cast<double>(bench_corpus::corpus().size());
    state.counters["packed"] = static_cast<double>(packed);
    state.counters["vs_gzip9"] = static_cast<double>(packed) / static_cast<double>(gzipped().size());
    state.counters["vs_bzip2_9"] = static_cast<double>(packed) / static_cast<double>(bzipped().size());
}

void decodeMember(benchmark::State& state, Method method, std::uint32_t blockSize = 0) {
    const auto& archive = archiveFor(method, blockSize);
    // A speed-up that changes the output is no speed-up: check the bytes once, untimed.
    std::uint8_t* first = nullptr;
    std::uint32_t firstSize = 0;
    int firstResult = extractMemberFromMemory(archive.data(), archive.size(), kName, first, firstSize);
    const auto& corpus = bench_corpus::corpus();
    bool same = firstResult == 0 && firstSize == corpus.size() &&
                std::memcmp(first, corpus.data(), corpus.size()) == 0;
    delete[] first;
    if (!same) {
        state.SkipWithError("decoded bytes differ from the corpus");
        return;
    }
    for (auto _ : state) {
        std::uint8_t* data = nullptr;
        std::uint32_t size = 0;
        int result = extractMemberFromMemory(archive.data(), archive.size(), kName, data, size);
        if (result != 0 || size != bench_corpus::corpus().size()) state.SkipWithError("member did not decode");
        benchmark::DoNotOptimize(data);
        delete[] data;
    }
    reportSizes(state, archive.size());
}

void BM_DecodeLz(benchmark::State& state) { decodeMember(state, Method::Lz); }
void BM_DecodeBwt(benchmark::State& state) { decodeMember(state, Method::Bwt); }
// The inverse transform walks its vector at random: smaller blocks keep it in cache
// at some cost in packed size. The argument is the block size.
void BM_DecodeBwtBlockSize(benchmark::State& state) {
    decodeMember(state, Method::Bwt, static_cast<std::uint32_t>(state.range(0)));
}

void BM_Inflate(benchmark::State& state) {
    const auto& packed = gzipped();
    std::vector<std::uint8_t> out(bench_corpus::corpus().size());
    for (auto _ : state) {
        uLongf size = out.size();
        if (uncompress(out.data(), &size, packed.data(), packed.size()) != Z_OK) state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    reportSizes(state, packed.size());
}

void BM_Bunzip2(benchmark::State& state) {
    const auto& packed = bzipped();
    std::vector<std::uint8_t> out(bench_corpus::corpus().size());
    for (auto _ : state) {
        unsigned size = static_cast<unsigned>(out.size());
        if (BZ2_bzBuffToBuffDecompress(reinterpret_cast<char*>(out.data()), &size,
                                       const_cast<char*>(reinterpret_cast<const char*>(packed.data())),
                                       static_cast<unsigned>(packed.size()), 0, 0) != BZ_OK)
            state.SkipWithError("bunzip2 failed");
        benchmark::DoNotOptimize(out.data());
    }
    reportSizes(state, packed.size());
}

void encodeMember(benchmark::State& state, Method method) {
    std::size_t packed = 0;
    for (auto _ : state) {
        PackOptions options;
        options.method = method;
        packed = packArchive({{kName, bench_corpus::corpus(), false}}, options).size();
    }
    reportSizes(state, packed);
}

void BM_EncodeLz(benchmark::State& state) { encodeMember(state, Method::Lz); }
void BM_EncodeBwt(benchmark::State& state) { encodeMember(state, Method::Bwt); }

}  // namespace

BENCHMARK(BM_Inflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeLz)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bunzip2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBwt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBwtBlockSize)->Unit(benchmark::kMillisecond)->Arg(900000)->Arg(600000)->Arg(400000)->Arg(250000);
BENCHMARK(BM_EncodeLz)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EncodeBwt)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
