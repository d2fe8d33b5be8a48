#include "app/SaverRun.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "app/FrameCap.h"
#include "app/FrameRecorder.h"
#include "app/FrameStalls.h"
#include "app/FrameTimer.h"
#include "app/GraphicsSetup.h"
#include "app/OpeningChoice.h"
#include "app/SaverInput.h"
#include "app/SaverState.h"
#include "app/StartupTimes.h"
#include "app/StopSignals.h"
#include "platform/Platform.h"
#include "script/Settings.h"
#include "image/DeferredTextures.h"
#include "world/SharedLoads.h"

namespace {

// What an unattended run counts and where it stops.
struct RunLimits {
    const RunOptions& options;
    std::unique_ptr<FrameRecorder> recorder;
    FrameCap cap;
    long framesDrawn = 0;
    unsigned loopFrames = 0;
    std::int64_t loopStart = 0;
    bool failed = false;
    // Frame times of the main loop after its first frame, for the benchmark's jitter.
    double frameSeconds = 0;
    double frameSquares = 0;
    double longestFrame = 0;
    unsigned timedFrames = 0;
    std::vector<float> benchmarkFrames = {};  // every timed frame, for the medians

    void timeFrame(double seconds) {
        if (loopFrames == 0) return;  // the first one also holds the opening's reading
        frameSeconds += seconds;
        frameSquares += seconds * seconds;
        if (seconds > longestFrame) longestFrame = seconds;
        timedFrames += 1;
        if (options.benchmarkSeconds > 0) benchmarkFrames.push_back(static_cast<float>(seconds));
    }

    bool frameLimitReached() const { return options.frames >= 0 && framesDrawn >= options.frames; }
    bool benchmarkOver() const {
        return options.benchmarkSeconds > 0 &&
               (readCounter() - loopStart) * secondsPerTick >= options.benchmarkSeconds;
    }
};

void windowCentre(int& x, int& y) {
    platform::clientSize(x, y);
    x /= 2;
    y /= 2;
}

void setSceneClock(const ShowParts& parts, float seconds) {
    saverState.sceneClock = seconds;
    parts.setSceneClock(seconds);
}

// Recording happens before the swap, while the frame is still in the back buffer.
void finishFrame(RunLimits& limits) {
    if (limits.recorder) {
        int width = 0;
        int height = 0;
        platform::clientSize(width, height);
        if (!limits.recorder->recordBackBuffer(width, height)) limits.failed = true;
    }
    platform::swapBuffers();
    limits.framesDrawn += 1;
    if (limits.framesDrawn == 1) startupMark("first frame");
    limits.cap.wait(stopRequested);
}

bool mustStop(const RunLimits& limits) {
    return stopRequested() || limits.failed || limits.frameLimitReached() || platform::foreignWindowGone();
}

// A hack draws at the size its window has now: the settings preview resizes it.
void followWindowSize(const RunOptions& options) {
    if (!options.embedded()) return;
    int width = 0;
    int height = 0;
    platform::clientSize(width, height);
    if (width <= 0 || height <= 0) return;
    if (static_cast<std::uint32_t>(width) == settings.width && static_cast<std::uint32_t>(height) == settings.height) {
        return;
    }
    settings.width = static_cast<std::uint32_t>(width);
    settings.height = static_cast<std::uint32_t>(height);
    applyLetterboxViewport();
}

// A live preview stays quiet whatever the settings say: the user there is looking at the
// settings. The daemon starts a hack on each monitor: one soundtrack is enough.
void startMusic(const ShowParts& parts, MemberBytes music, const RunOptions& options) {
    const char* silence = options.livePreview ? "the preview plays no music"
                          : !platform::claimMusic() ? "another Voidrift plays the music; this one stays silent"
                                                    : nullptr;
    if (silence) {
        std::fprintf(stderr, "voidrift: %s\n", silence);
        settings.enableMusic = false;
        return;
    }
    parts.imxInit(platform::nativeWindow(), 44100, 0, -1);
    parts.imxStart();
    parts.imxSetGlobalVolumes(settings.volume, settings.volume, settings.volume);
    int stream = parts.imxStreamOpenFile(1, music.data, 0, static_cast<int>(music.size), 0);
    parts.imxStreamPlay(stream, 1);
}

// Six seconds of raw time; input waits in the queue meanwhile.
void playLoadingAnimation(const ShowParts& parts, RunLimits& limits) {
    double dt = 0;
    while (saverState.sceneClock < 6.0f && !mustStop(limits)) {
        frameTimer.start();
        followWindowSize(limits.options);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        parts.drawLoadingFrame(dt);
        finishFrame(limits);
        double measured = frameTimer.elapsedSeconds();
        dt = limits.options.fixedDt > 0 ? limits.options.fixedDt : measured;
        setSceneClock(parts, static_cast<float>(saverState.sceneClock + dt));
    }
}

void drawFrame(const ShowParts& parts, RunLimits& limits, int centreX, int centreY) {
    if (saverState.keyDown[0]) saverState.running = false;
    if (consumeMouseOffsets(saverState)) platform::warpCursor(centreX, centreY);
    if (mouseTravelEnds(saverState, settings.mouseExit)) saverState.running = false;
    double measured = frameTimer.elapsedSeconds();
    frameTimer.start();
    limits.timeFrame(measured);
    saverState.dt = limits.options.fixedDt > 0 ? limits.options.fixedDt : measured;
    followWindowSize(limits.options);
    advanceShow(parts, saverState.dt);
    parts.composeFrame();
    finishFrame(limits);
    limits.loopFrames += 1;
    if (mustStop(limits) || limits.benchmarkOver()) saverState.running = false;
}

// The full-screen saver draws nothing while the monitor sleeps (a hack leaves that to its
// daemon); the show stands still meanwhile and goes on where it was.
bool restWhileMonitorSleeps(const RunOptions& options) {
    if (options.embedded() || options.unattended() || !platform::monitorAsleep()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    frameTimer.start();
    return true;
}

void mainLoop(const ShowParts& parts, RunLimits& limits) {
    int centreX = 0;
    int centreY = 0;
    windowCentre(centreX, centreY);
    limits.loopStart = readCounter();
    while (saverState.running) {
        platform::Event event;
        if (platform::pollEvent(event)) {
            // A hack's input belongs to the daemon: only a quit ends the run.
            bool heeded = !limits.options.embedded() || event.type == platform::EventType::Quit;
            if (heeded && applyEvent(saverState, event, centreX, centreY)) saverState.running = false;
            continue;
        }
        if (mustStop(limits)) {
            saverState.running = false;
            continue;
        }
        if (restWhileMonitorSleeps(limits.options)) continue;
        drawFrame(parts, limits, centreX, centreY);
    }
}

void printBenchmark(const RunLimits& limits) {
    double seconds = (readCounter() - limits.loopStart) * secondsPerTick;
    double fps = seconds > 0 ? limits.loopFrames / seconds : 0;
    double n = limits.timedFrames;
    double mean = n > 0 ? limits.frameSeconds / n : 0;
    double variance = n > 0 ? limits.frameSquares / n - mean * mean : 0;
    double deviation = variance > 0 ? std::sqrt(variance) : 0;
    const std::vector<float>& frames = limits.benchmarkFrames;
    FrameStalls stalls = localStalls(frames);
    std::printf("frames=%u seconds=%.3f fps=%.2f frame_ms=%.2f jitter_ms=%.2f longest_ms=%.2f median_ms=%.2f "
                "worst_to_local_median=%.2f over_twice_local=%u\n",
                limits.loopFrames, seconds, fps, mean * 1000, deviation * 1000, limits.longestFrame * 1000,
                medianFrame(frames) * 1000, stalls.worst, stalls.overTwice);
    std::fflush(stdout);
}

// Also run at exit, so a run that ends some other way still gives the display back.
void giveDisplayBack() {
    restoreGammaRamp();
    platform::restoreDisplayMode();
}

}  // namespace

void readShowScripts(const ShowParts& parts) {
    parts.initCamera();
    // Reading the scripts loads every world's textures: a stop request ends it early.
    // Members that several objects name are loaded once.
    SharedLoads shared;
    for (void (*step)() : {parts.readEnvironments, parts.readWorlds, parts.readDynamicWorld}) {
        if (stopRequested()) return;
        step();
    }
}

void beginShow(const ShowParts& parts, const RunOptions& options) {
    parts.setParticleFieldOn(true);
    saverState.cameraSpeedFactor = cameraSpeedFactor(settings.timeScale);
    setSceneClock(parts, 0);
    int sceneDraw = parts.drawRandom();
    int worldDraw = parts.drawRandom();
    int variantDraw = parts.drawRandom();
    OpeningChoice choice = chooseOpening(sceneDraw, worldDraw, variantDraw);
    char sceneFile[32];
    std::snprintf(sceneFile, sizeof sceneFile, "scene%d.txt", choice.sceneNumber);
    if (!options.sceneWorld.empty()) {
        parts.chooseOpening(options.sceneFile.c_str(), options.sceneWorld.c_str(), choice.variant);
        parts.readScene();
        return;
    }
    parts.chooseOpening(sceneFile, kOpeningWorlds[choice.world], choice.variant);
    parts.readScene();
    if (!settings.galaxy) parts.setSceneEnded();
}

void advanceShow(const ShowParts& parts, double dt) {
    setSceneClock(parts, advanceSceneClock(saverState.sceneClock, saverState.cameraSpeedFactor, dt));
    parts.updateCamera();
    if (parts.sceneEnded()) {
        parts.readScene();
        parts.updateCamera();
    }
    parts.updateLists(dt);
    parts.applyLookModes();
    parts.copyEyePoint();
}

namespace {

bool openSaverWindow(const RunOptions& options) {
    if (options.embedded()) {
        if (!platform::openForeignWindow(options.windowId)) return false;
        followWindowSize(options);
        return true;
    }
    platform::WindowRequest request;
    request.title = "Voidrift 3D Screensaver";
    request.width = static_cast<int>(settings.width);
    request.height = static_cast<int>(settings.height);
    request.hidden = platform::isOffscreen();
    request.topmost = !options.unattended();
    return platform::openWindow(request);
}

// From the first loading image to the end of the loading animation.
void prepareShow(const ShowParts& parts, MemberBytes music, RunLimits& limits) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    parts.showLoadingImage();
    glFinish();
    platform::swapBuffers();
    platform::showWindow();
    parts.buildDigitGlyphs();
    parts.setUpParticleField();
    // Worlds' textures are built only while the show can reach them. Measurements of the
    // whole set at once (memory, start-up) ask for the old way with VOIDRIFT_EAGER_TEXTURES.
    setTextureDeferral(std::getenv("VOIDRIFT_EAGER_TEXTURES") == nullptr);
    readShowScripts(parts);
    startupMark("scripts read");
    if (mustStop(limits)) return;
    saverState.dt = 0;
    setSceneClock(parts, 0);
    if (settings.enableMusic) startMusic(parts, music, limits.options);
    if (!limits.options.noLoading) playLoadingAnimation(parts, limits);
}

// From the seed to the end of the main loop.
void playShow(const ShowParts& parts, RunLimits& limits) {
    frameTimer.start();
    std::uint32_t seed = static_cast<std::uint32_t>(frameTimer.startCount() & 0xFFFFFFFF);
    parts.seedRandom(limits.options.hasSeed ? limits.options.seed : seed);
    rateTimer.start();
    beginShow(parts, limits.options);
    saverState.running = true;
    int centreX = 0;
    int centreY = 0;
    windowCentre(centreX, centreY);
    if (!limits.options.embedded()) {
        platform::warpCursor(centreX, centreY);
        platform::discardPointerMotion();
    }
    mainLoop(parts, limits);
    if (limits.options.benchmarkSeconds > 0) printBenchmark(limits);
}

void shutDown(const ShowParts& parts) {
    if (settings.enableMusic) parts.imxUninit();
    restoreGammaRamp();
    parts.releaseLists();
    // The active world lived in the released list: no pointer to it may outlive it.
    parts.clearWorldChoice();
    platform::restoreDisplayMode();
    platform::closeWindow();
    parts.releaseMusicMember();
    removeStopSignals();
}

}  // namespace

int runSaver(SaverApp& app, const ShowParts& parts, const RunOptions& options) {
    (void)app;
    static bool exitHookInstalled = false;
    if (!exitHookInstalled) exitHookInstalled = std::atexit(giveDisplayBack) == 0;

    RunLimits limits{options, nullptr, FrameCap(frameRateCap(options, settings.maxFps))};
    if (!options.recordDir.empty()) {
        limits.recorder = std::make_unique<FrameRecorder>(options.recordDir);
        if (!limits.recorder->prepare()) return 1;
    }
    saverState = SaverState{};
    parts.clearWorldChoice();
    if (!openSaverWindow(options)) {
        // The preview area went before the show could open in it.
        if (options.livePreview) std::fputs("ERROR: Cannot creat window!\n", stderr);
        return 1;
    }
    startupMark("window and GL context");
    queryFrequency();
    MemberBytes music = parts.readMusicMember();
    startupMark("music read");
    platform::showWindow();
    installStopSignals(options.embedded());
    // A hack's display belongs to the daemon: no mode change, no hidden cursor.
    if (!options.unattended() && !options.embedded()) setDisplayMode();
    if (!initGraphics()) {
        // The display goes back now rather than when the process ends.
        giveDisplayBack();
        platform::closeWindow();
        parts.releaseMusicMember();
        removeStopSignals();
        return 1;
    }
    startupMark("GL set-up");
    prepareShow(parts, music, limits);
    if (!mustStop(limits)) playShow(parts, limits);
    shutDown(parts);
    startupMark("shut down");
    return limits.failed ? 1 : 0;
}
