#include "music/MusicLibrary.h"

#include "music/MusicMixer.h"
#include "platform/AudioOutput.h"

#include <cstdio>

namespace {

// The library's process-wide state.
struct MusicLibraryState {
    MusicMixer mixer;
    platform::AudioOutput output;
    void* window = nullptr;
    bool initialised = false;
};

MusicLibraryState& library()
{
    static MusicLibraryState state;
    return state;
}

void pullMusic(void* context, std::int16_t* samples, int frames)
{
    static_cast<MusicMixer*>(context)->mix(samples, frames);
}

}  // namespace

int IMXInit(void* window, int sampleRate, int /*reserved*/, int /*device*/)
{
    MusicLibraryState& state = library();
    if (state.initialised)
        IMXUninit();
    state.mixer.setOutputRate(sampleRate);
    if (!state.output.open(sampleRate, MusicStream::kChannels, pullMusic, &state.mixer)) {
        std::fprintf(stderr, "music: %s; playing no music\n", state.output.lastError());
        return 0;
    }
    state.window = window;
    state.initialised = true;
    return 1;
}

int IMXStart()
{
    MusicLibraryState& state = library();
    if (!state.initialised)
        return 0;
    state.output.setPlaying(true);
    return 1;
}

int IMXSetGlobalVolumes(int /*musicVolume*/, int /*sampleVolume*/, int streamVolume)
{
    MusicLibraryState& state = library();
    if (!state.initialised)
        return 0;
    state.mixer.setStreamVolume(streamVolume);
    return 1;
}

int IMXStreamOpenFile(int source, const void* data, int offset, std::uint32_t size, int /*flags*/)
{
    MusicLibraryState& state = library();
    if (!state.initialised)
        return 0;
    if (source != 1) {
        std::fprintf(stderr, "music: only streams held in memory can play\n");
        return 0;
    }
    if (data == nullptr || size == 0 || offset < 0 || static_cast<std::uint32_t>(offset) >= size) {
        std::fprintf(stderr, "music: the music data is empty; playing no music\n");
        return 0;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data) + offset;
    int result = 0;
    const int handle = state.mixer.openStream(bytes, size - static_cast<std::uint32_t>(offset), &result);
    if (handle == 0 && result == MusicMixer::kNoFreeStream) {
        std::fprintf(stderr, "music: too many streams open\n");
        return 0;
    }
    if (handle == 0) {
        std::fprintf(stderr, "music: the music data is not Ogg Vorbis (code %d); playing no music\n", result);
        return 0;
    }
    if (state.mixer.isTruncated(handle))
        std::fprintf(stderr, "music: the music data is cut short; playing what there is\n");
    return handle;
}

int IMXStreamPlay(int stream, int loop)
{
    MusicLibraryState& state = library();
    if (!state.initialised)
        return 0;
    return state.mixer.playStream(stream, loop != 0) ? 1 : 0;
}

int IMXUninit()
{
    MusicLibraryState& state = library();
    if (!state.initialised)
        return 0;
    // Closing the output first guarantees the audio thread is out of the mixer.
    state.output.close();
    state.mixer.closeAll();
    state.window = nullptr;
    state.initialised = false;
    return 1;
}
