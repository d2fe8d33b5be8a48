#include "app/Simulate.h"

#include <cmath>
#include <cstdint>

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

// The most frames one simulation counts (the saver run's frame counter holds as many).
constexpr double kMaxSimulationFrames = 4294967295.0;

// The frame count of `seconds` in steps of `dt`; false when it exceeds the counter.
bool simulationFrames(double seconds, double dt, long& frames) {
    // Frames are counted, not times summed, so long runs do not drift.
    double count = std::floor(seconds / dt + 1e-9);
    if (!(count >= 0 && count <= kMaxSimulationFrames)) return false;
    frames = static_cast<long>(count);
    return true;
}

}  // namespace

int runSimulation(const RunOptions& options, std::FILE* out) {
    double dt = options.fixedDt > 0 ? options.fixedDt : kSimulationDt;
    long frames = 0;
    if (!simulationFrames(options.simulateSeconds, dt, frames)) {
        std::fprintf(stderr, "voidrift: a step of %g s is too small for %g s: more than %.0f frames\n", dt,
                     options.simulateSeconds, kMaxSimulationFrames);
        return 2;
    }
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
    beginShow(parts, options);

    for (long frame = 1; frame <= frames; ++frame) {
        simulatedTime = frame * dt;
        advanceShow(parts, dt);
    }
    std::fflush(out);
    parts.releaseLists();
    setGraphicsLoading(true);
    return 0;
}
