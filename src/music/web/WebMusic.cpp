// The music library in a web page: "music.ogg" goes whole to the page, which decodes and
// loops it with the browser's own Web Audio once the viewer has clicked or pressed a key
// (browsers start no sound before that). No decoder is compiled in.
#include <emscripten.h>

#include "music/MusicLibrary.h"

EM_JS(void, handMusicToPage, (const void* data, int size, int volume), {
    if (Module.playMusic) Module.playMusic(HEAPU8.slice(data, data + size), volume / 100);
});

namespace {

bool started = false;
const void* musicData = nullptr;
std::uint32_t musicSize = 0;
int level = 100;

}  // namespace

int IMXInit(void*, int, int, int) {
    started = true;
    return 1;
}

int IMXStart() { return started ? 1 : 0; }

int IMXSetGlobalVolumes(int, int, int streamVolume) {
    if (!started) return 0;
    level = streamVolume < 1 ? 1 : streamVolume > 100 ? 100 : streamVolume;
    return 1;
}

int IMXStreamOpenFile(int source, const void* data, int offset, std::uint32_t size, int) {
    if (!started || source != 1 || !data || size == 0) return 0;
    musicData = static_cast<const unsigned char*>(data) + offset;
    musicSize = size;
    return 1;
}

int IMXStreamPlay(int stream, int) {
    if (stream != 1 || !musicData) return 0;
    handMusicToPage(musicData, static_cast<int>(musicSize), level);
    return 1;
}

int IMXUninit() {
    started = false;
    musicData = nullptr;
    return 1;
}
