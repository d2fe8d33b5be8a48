// CPU cost of music playback: decoding, and mixing at a volume below full, per
// second of 44.1 kHz stereo audio, in the chunk size an audio callback asks for.
// The time per iteration is the cost of one second of music.
#include "music/MusicMixer.h"
#include "music/MusicStream.h"

#include "../tests/music/MusicTestOgg.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kOutputRate = 44100;
constexpr int kCallbackFrames = 2048;

// Ten seconds of tone with noise: a bit rate near that of real music.
const std::vector<std::uint8_t>& musicOgg(int rate)
{
    static std::vector<std::uint8_t> at44100 = encodeSineOgg(44100, 2, 10.0, 440.0, 0.2);
    static std::vector<std::uint8_t> at22050 = encodeSineOgg(22050, 2, 10.0, 440.0, 0.2);
    return rate == 44100 ? at44100 : at22050;
}

void decodeOneSecond(benchmark::State& state, int sourceRate)
{
    const std::vector<std::uint8_t>& ogg = musicOgg(sourceRate);
    MusicStream stream;
    if (stream.open(ogg.data(), static_cast<std::uint32_t>(ogg.size()), kOutputRate) != 0) {
        state.SkipWithError("cannot open the test stream");
        return;
    }
    stream.setLooping(true);
    std::vector<std::int16_t> out(kCallbackFrames * 2);
    for (auto _ : state) {
        for (int done = 0; done < kOutputRate; done += kCallbackFrames)
            stream.read(out.data(), kCallbackFrames);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kOutputRate);
}

void BM_DecodeOneSecond(benchmark::State& state) { decodeOneSecond(state, 44100); }
void BM_DecodeAndResampleOneSecond(benchmark::State& state) { decodeOneSecond(state, 22050); }

void BM_MixOneSecondAtVolume70(benchmark::State& state)
{
    const std::vector<std::uint8_t>& ogg = musicOgg(44100);
    MusicMixer mixer;
    mixer.setStreamVolume(70);
    const int handle = mixer.openStream(ogg.data(), static_cast<std::uint32_t>(ogg.size()), nullptr);
    if (handle == 0 || !mixer.playStream(handle, true)) {
        state.SkipWithError("cannot open the test stream");
        return;
    }
    std::vector<std::int16_t> out(kCallbackFrames * 2);
    for (auto _ : state) {
        for (int done = 0; done < kOutputRate; done += kCallbackFrames)
            mixer.mix(out.data(), kCallbackFrames);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kOutputRate);
}

}  // namespace

BENCHMARK(BM_DecodeOneSecond)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeAndResampleOneSecond)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixOneSecondAtVolume70)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
