#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include "app/FrameTimer.h"
#include "app/SaverRun.h"
#include "app/SaverState.h"
#include "app/StopSignals.h"
#include "platform/Platform.h"
#include "script/Settings.h"

namespace {

// What the recording table saw, in order.
std::vector<std::string> calls;
std::vector<float> sceneClocks;
std::vector<double> loadingDts;
int nextDraw = 0;
bool sceneEndedFlag = false;
int loadingFrames = 0;
int composedFrames = 0;
// Hooks the tests set to act at a given point of the run.
void (*onLoadingFrame)(int frame) = nullptr;
void (*onCompose)(int frame) = nullptr;
const char kMusicBytes[] = "OggS....";

void record(const std::string& call) { calls.push_back(call); }

ShowParts recordingParts() {
    ShowParts parts{};
    parts.clearWorldChoice = [] { record("clearWorldChoice"); };
    parts.readMusicMember = [] {
        record("readMusicMember");
        return MemberBytes{kMusicBytes, sizeof kMusicBytes};
    };
    parts.showLoadingImage = [] { record("showLoadingImage"); };
    parts.buildDigitGlyphs = [] { record("buildDigitGlyphs"); };
    parts.setUpParticleField = [] { record("setUpParticleField"); };
    parts.initCamera = [] { record("initCamera"); };
    parts.readEnvironments = [] { record("readEnvironments"); };
    parts.readWorlds = [] { record("readWorlds"); };
    parts.readDynamicWorld = [] { record("readDynamicWorld"); };
    parts.imxInit = [](void* window, int rate, int a, int b) {
        record("imxInit " + std::to_string(window != nullptr) + " " + std::to_string(rate) + " " +
               std::to_string(a) + " " + std::to_string(b));
        return 1;
    };
    parts.imxStart = [] { record("imxStart"); return 1; };
    parts.imxSetGlobalVolumes = [](int a, int b, int c) {
        record("imxSetGlobalVolumes " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c));
        return 1;
    };
    parts.imxStreamOpenFile = [](int kind, const void* data, int offset, int size, int flags) {
        record("imxStreamOpenFile " + std::to_string(kind) + " " + std::to_string(data == kMusicBytes) + " " +
               std::to_string(offset) + " " + std::to_string(size) + " " + std::to_string(flags));
        return 77;
    };
    parts.imxStreamPlay = [](int stream, int mode) {
        record("imxStreamPlay " + std::to_string(stream) + " " + std::to_string(mode));
        return 1;
    };
    parts.imxUninit = [] { record("imxUninit"); return 1; };
    parts.drawLoadingFrame = [](double dt) {
        record("drawLoadingFrame");
        loadingDts.push_back(dt);
        if (onLoadingFrame) onLoadingFrame(loadingFrames);
        ++loadingFrames;
    };
    parts.seedRandom = [](std::uint32_t seed) { record("seedRandom " + std::to_string(seed)); };
    parts.drawRandom = [] {
        record("drawRandom");
        return nextDraw;
    };
    parts.setParticleFieldOn = [](bool on) { record(on ? "setParticleFieldOn 1" : "setParticleFieldOn 0"); };
    parts.setSceneClock = [](float seconds) { sceneClocks.push_back(seconds); };
    parts.chooseOpening = [](const char* sceneFile, const char* world, int variant) {
        record(std::string("chooseOpening ") + sceneFile + " " + world + " " + std::to_string(variant));
    };
    parts.readScene = [] {
        record("readScene");
        sceneEndedFlag = false;
    };
    parts.setSceneEnded = [] {
        record("setSceneEnded");
        sceneEndedFlag = true;
    };
    parts.updateCamera = [] { record("updateCamera"); };
    parts.sceneEnded = [] { return sceneEndedFlag; };
    parts.updateLists = [](double) { record("updateLists"); };
    parts.applyLookModes = [] { record("applyLookModes"); };
    parts.copyEyePoint = [] { record("copyEyePoint"); };
    parts.composeFrame = [] {
        record("composeFrame");
        if (onCompose) onCompose(composedFrames);
        ++composedFrames;
    };
    parts.releaseLists = [] { record("releaseLists"); };
    parts.releaseMusicMember = [] { record("releaseMusicMember"); };
    return parts;
}

const std::vector<std::string> kShutDown = {"imxUninit", "releaseLists", "clearWorldChoice", "releaseMusicMember"};
const std::vector<std::string> kFrame = {"updateCamera", "updateLists", "applyLookModes", "copyEyePoint", "composeFrame"};

class SaverRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::initialize(true));
        saved_ = settings;
        settings = Settings{};
        settings.width = 160;
        settings.height = 120;
        settings.galaxy = true;
        settings.volume = 42;
        calls.clear();
        sceneClocks.clear();
        loadingDts.clear();
        nextDraw = 0;
        sceneEndedFlag = false;
        loadingFrames = 0;
        composedFrames = 0;
        onLoadingFrame = nullptr;
        onCompose = nullptr;
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        clearStopRequest();
    }
    void TearDown() override {
        settings = saved_;
        clearStopRequest();
        setCounterSource(nullptr, 0);
    }

    int run(const RunOptions& options) {
        SaverApp app;
        app.mode = saver;
        return runSaver(app, recordingParts(), options);
    }

    static long count(const std::string& call) { return std::count(calls.begin(), calls.end(), call); }
    static std::vector<std::string> slice(std::size_t from, std::size_t n) {
        if (from + n > calls.size()) return {};
        return {calls.begin() + static_cast<long>(from), calls.begin() + static_cast<long>(from + n)};
    }

    Settings saved_;
};

TEST_F(SaverRunTest, StartUpLoadingFramesAndShutDownInOrder) {
    RunOptions options;
    options.fixedDt = 1.0;
    options.frames = 8;  // six loading frames, then two of the show
    options.hasSeed = true;
    options.seed = 1234;
    nextDraw = 32767;
    EXPECT_EQ(run(options), 0);

    std::vector<std::string> expected = {
        "clearWorldChoice", "readMusicMember", "showLoadingImage", "buildDigitGlyphs", "setUpParticleField",
        "initCamera", "readEnvironments", "readWorlds", "readDynamicWorld",
        "imxInit 1 44100 0 -1", "imxStart", "imxSetGlobalVolumes 42 42 42",
        "imxStreamOpenFile 1 1 0 " + std::to_string(sizeof kMusicBytes) + " 0", "imxStreamPlay 77 1"};
    for (int i = 0; i < 6; ++i) expected.push_back("drawLoadingFrame");
    for (const char* call : {"seedRandom 1234", "setParticleFieldOn 1", "drawRandom", "drawRandom", "drawRandom",
                             "chooseOpening scene3.txt red_galaxy 3", "readScene"})
        expected.push_back(call);
    for (int frame = 0; frame < 2; ++frame) expected.insert(expected.end(), kFrame.begin(), kFrame.end());
    for (const char* call : {"imxUninit", "releaseLists", "clearWorldChoice", "releaseMusicMember"}) expected.push_back(call);
    EXPECT_EQ(calls, expected);

    // The loading animation counts raw seconds; the first frame gets dt 0.
    EXPECT_EQ(loadingDts, (std::vector<double>{0, 1, 1, 1, 1, 1}));
    // Scene clock: 0 at start, 1..6 in loading, back to 0, then one second per frame.
    EXPECT_EQ(sceneClocks, (std::vector<float>{0, 1, 2, 3, 4, 5, 6, 0, 1, 2}));
}

TEST_F(SaverRunTest, GalaxyOffSkipsTheOpeningSceneBeforeTheFirstUpdate) {
    settings.galaxy = false;
    settings.enableMusic = false;
    settings.timeScale = 2;
    RunOptions options;
    options.noLoading = true;
    options.fixedDt = 0.25;
    options.frames = 2;
    nextDraw = 0;
    run(options);

    auto opening = std::find(calls.begin(), calls.end(), "chooseOpening scene0.txt blue_galaxy 0");
    ASSERT_NE(opening, calls.end());
    std::size_t at = static_cast<std::size_t>(opening - calls.begin());
    EXPECT_EQ(slice(at + 1, 5), (std::vector<std::string>{"readScene", "setSceneEnded", "updateCamera", "readScene", "updateCamera"}));
    EXPECT_EQ(count("readScene"), 2);
    EXPECT_EQ(count("updateLists"), 2);
    // TimeScale 2: twice real time.
    ASSERT_FALSE(sceneClocks.empty());
    EXPECT_FLOAT_EQ(sceneClocks.back(), 1.0f);
    // Without music no library call at all, not even at shut-down; the member is still read.
    for (const std::string& call : calls) EXPECT_NE(call.rfind("imx", 0), 0u) << call;
    EXPECT_EQ(count("readMusicMember"), 1);
    EXPECT_EQ(count("releaseMusicMember"), 1);
    EXPECT_EQ(count("drawLoadingFrame"), 0);
}

void pressSpace(int frame) {
    if (frame != 0) return;
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_SPACE;
    SDL_PushEvent(&event);
}

TEST_F(SaverRunTest, KeyDuringLoadingEndsAfterOneFrameOfTheShow) {
    settings.enableMusic = false;
    RunOptions options;
    options.fixedDt = 0.5;  // twelve loading frames
    onLoadingFrame = pressSpace;
    run(options);
    EXPECT_EQ(loadingFrames, 12);
    EXPECT_EQ(composedFrames, 1);
    EXPECT_EQ(calls.back(), "releaseMusicMember");
}

void pressAltF4(int frame) {
    if (frame != 0) return;
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_F4;
    event.key.keysym.mod = KMOD_LALT;
    SDL_PushEvent(&event);
    event.key.keysym.sym = SDLK_F10;
    event.key.keysym.mod = 0;
    SDL_PushEvent(&event);
    event.type = SDL_MOUSEBUTTONDOWN;
    SDL_PushEvent(&event);
}

TEST_F(SaverRunTest, AltCombinationsF10AndClicksDoNotEndTheRun) {
    settings.enableMusic = false;
    RunOptions options;
    options.noLoading = true;
    options.fixedDt = 0.1;
    options.frames = 5;
    onCompose = pressAltF4;
    run(options);
    EXPECT_EQ(composedFrames, 5);
}

void moveRight(int frame) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = 80 + (frame < 3 ? 10 : -10);  // the window is 160 wide
    event.motion.y = 60;
    SDL_PushEvent(&event);
}

TEST_F(SaverRunTest, MouseTravelEndsTheRunOnlyWithMouseExit) {
    settings.enableMusic = false;
    RunOptions options;
    options.noLoading = true;
    options.fixedDt = 0.1;
    options.frames = 20;
    onCompose = moveRight;
    run(options);
    EXPECT_EQ(composedFrames, 20);

    settings.mouseExit = true;
    composedFrames = 0;
    run(options);
    // Each move is 10 pixels, 3 units of travel: 3, 6, then 9 > 7 in the fourth frame,
    // which is still drawn.
    EXPECT_EQ(composedFrames, 4);
}

void quitNow(int frame) {
    if (frame != 1) return;
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void terminateNow(int frame) {
    if (frame == 1) std::raise(SIGTERM);
}

void interruptDuringLoading(int frame) {
    if (frame == 2) std::raise(SIGINT);
}

TEST_F(SaverRunTest, QuitAndStopSignalsEndTheRunThroughShutDown) {
    struct sigaction before = {};
    sigaction(SIGTERM, nullptr, &before);
    RunOptions options;
    options.noLoading = true;
    options.fixedDt = 0.1;
    options.frames = 50;
    onCompose = quitNow;
    run(options);
    EXPECT_EQ(composedFrames, 2);
    EXPECT_EQ(slice(calls.size() - 4, 4), kShutDown);

    calls.clear();
    composedFrames = 0;
    onCompose = terminateNow;
    run(options);  // the process survives SIGTERM and shuts the run down
    EXPECT_EQ(composedFrames, 2);
    EXPECT_EQ(slice(calls.size() - 4, 4), kShutDown);

    clearStopRequest();
    calls.clear();
    composedFrames = 0;
    onCompose = nullptr;
    options.noLoading = false;
    onLoadingFrame = interruptDuringLoading;
    run(options);
    EXPECT_EQ(loadingFrames, 3);
    EXPECT_EQ(composedFrames, 0);
    EXPECT_EQ(count("readScene"), 0);
    EXPECT_EQ(slice(calls.size() - 4, 4), kShutDown);

    // A signal while the scripts load skips the rest of the start-up.
    clearStopRequest();
    calls.clear();
    loadingFrames = 0;
    ShowParts parts = recordingParts();
    parts.readEnvironments = [] {
        record("readEnvironments");
        std::raise(SIGTERM);
    };
    SaverApp app;
    runSaver(app, parts, options);
    EXPECT_EQ(count("readWorlds"), 0);
    EXPECT_EQ(loadingFrames, 0);
    EXPECT_EQ(slice(calls.size() - 4, 4), kShutDown);
    // After the run the signals are handled as they were before it.
    struct sigaction after = {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

std::int64_t fakeTicks = 0;
std::int64_t fakeCounter() { return fakeTicks; }

// Without a fixed step the clock is the counter: each loading frame that takes half a
// second moves the animation by half a second, each show frame that takes a quarter moves
// the scene by a quarter times the speed factor. A timer restarted before it is read
// would freeze both.
TEST_F(SaverRunTest, MeasuredTimeDrivesLoadingAndShow) {
    settings.enableMusic = false;
    settings.timeScale = 2;
    setCounterSource(fakeCounter, 1000);
    onLoadingFrame = [](int) { fakeTicks += 500; };
    onCompose = [](int) { fakeTicks += 250; };
    RunOptions options;
    options.frames = 16;
    run(options);
    EXPECT_EQ(loadingFrames, 12);
    EXPECT_EQ(loadingDts, (std::vector<double>{0, .5, .5, .5, .5, .5, .5, .5, .5, .5, .5, .5}));
    ASSERT_EQ(composedFrames, 4);
    // Nothing is drawn between the show's start and its first frame.
    std::vector<float> show(sceneClocks.end() - 4, sceneClocks.end());
    EXPECT_EQ(show, (std::vector<float>{0, .5f, 1, 1.5f}));
}

TEST_F(SaverRunTest, SeedComesFromTheCounterWithoutTheOption) {
    settings.enableMusic = false;
    RunOptions options;
    options.noLoading = true;
    options.frames = 1;
    run(options);
    auto found = std::find_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("seedRandom ", 0) == 0; });
    ASSERT_NE(found, calls.end());
    std::string first = *found;
    calls.clear();
    SDL_Delay(2);
    run(options);
    auto second = std::find_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("seedRandom ", 0) == 0; });
    ASSERT_NE(second, calls.end());
    EXPECT_NE(first, *second);
}

}  // namespace
