#include "app/Simulate.h"

#include <cmath>

#include "app/FrameTimer.h"
#include "app/SaverRun.h"
#include "app/SaverState.h"
#include "app/ShowParts.h"
#include "image/TextureLoader.h"
#include "script/Camera.h"

namespace {

std::FILE* output = nullptr;
double simulatedTime = 0;

void readSceneAndReport() {
    char name[Camera::kSceneDirCapacity];
    camera.sceneMemberName(name, Camera::kSceneDirCapacity);
    camera.readScene();
    std::fprintf(output, "t=%.3f world=%s scene=%s\n", simulatedTime,
                 activeWorld != nullptr ? activeWorld->name : "none", name);
}

void noFrame() {}

}  // namespace

int runSimulation(const RunOptions& options, std::FILE* out) {
    output = out;
    simulatedTime = 0;
    setGraphicsLoading(false);
    ShowParts parts = realShowParts();
    parts.readScene = readSceneAndReport;
    parts.composeFrame = noFrame;

    // A simulation may follow another run in the same process: start from a fresh scene state.
    saverState = SaverState{};
    resetSceneState();
    parts.clearWorldChoice();
    parts.setUpParticleField();
    readShowScripts(parts);
    saverState.sceneClock = 0;
    parts.setSceneClock(0);
    std::uint32_t seed = options.hasSeed ? options.seed : static_cast<std::uint32_t>(readCounter());
    parts.seedRandom(seed);
    beginShow(parts);

    double dt = options.fixedDt > 0 ? options.fixedDt : kSimulationDt;
    // Frames are counted, not times summed, so long runs do not drift.
    long frames = static_cast<long>(std::floor(options.simulateSeconds / dt + 1e-9));
    for (long frame = 1; frame <= frames; ++frame) {
        simulatedTime = frame * dt;
        advanceShow(parts, dt);
    }
    std::fflush(out);
    parts.releaseLists();
    setGraphicsLoading(true);
    return 0;
}
