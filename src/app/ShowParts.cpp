#include "app/ShowParts.h"

#include "app/ComposeFrame.h"
#include "music/MusicLibrary.h"
#include "app/SaverState.h"
#include "app/StopSignals.h"
#include "archive/ArchiveMember.h"
#include "image/DeferredTextures.h"
#include "overlay/DigitGlyphs.h"
#include "overlay/LoadingScreen.h"
#include "platform/Platform.h"
#include "script/Camera.h"
#include "script/OpeningWorld.h"
#include "script/Random.h"
#include "world/ParticleField.h"
#include "world/WorldFile.h"

#include <vector>

// Each part's owner replaces its entry below with the real operation.
namespace {

// Both point into the world list, so they are cleared whenever it is.
void clearWorldChoice() {
    activeWorld = nullptr;
    pendingWorld = nullptr;
}
// "music.ogg", read whether or not music is on; its buffer outlives the music library's use.
ArchiveMember musicMember;
MemberBytes readMusicMember() {
    musicMember.open("music.ogg");
    return {musicMember.data(), musicMember.size()};
}
void initCamera() { camera.place(); }
void readEnvironmentScript() { readEnvironments(environmentList, "env.txt"); }
bool noStopRequested() { return !stopRequested(); }
void readWorldScript() { readWorlds(worldList, environmentList, "worlds.txt", noStopRequested); }
void readDynamicWorld() { readWorldFile(dynamicObjects, "dynamic.txt"); }

int imxInit(void* window, int rate, int a, int b) { return IMXInit(window, rate, a, b); }
int imxStart() { return IMXStart(); }
int imxSetGlobalVolumes(int a, int b, int c) { return IMXSetGlobalVolumes(a, b, c); }
int imxStreamOpenFile(int kind, const void* data, int offset, int size, int flags) {
    return IMXStreamOpenFile(kind, data, offset, static_cast<std::uint32_t>(size), flags);
}
int imxStreamPlay(int stream, int mode) { return IMXStreamPlay(stream, mode); }
int imxUninit() { return IMXUninit(); }

void drawLoadingFrameFor(double dt) { drawLoadingFrame(static_cast<float>(dt)); }

void seedGenerator(std::uint32_t seed) { seedRandom(seed); }
int drawRandom() { return randomDraw(); }
void setParticleFieldOn(bool on) { particleFieldOn = on; }
void setSceneClock(float seconds) { sceneClock = seconds; }
void chooseOpening(const char* sceneFile, const char* worldName, int variant) {
    applyOpeningChoice(sceneFile, worldName, variant);
}
// Only the world on show and the one its scene goes on to keep their textures; the next
// one's are built a little each frame while this scene plays.
void keepReachableWorldTextures() {
    if (!textureDeferral()) return;
    std::vector<const void*> owners{activeWorld, activeWorld ? activeWorld->environment : nullptr};
    if (camera.worldPending && pendingWorld) {
        owners.push_back(pendingWorld);
        owners.push_back(pendingWorld->environment);
    }
    if (keepTexturesOf(owners)) platform::returnFreeMemory();
}
// Completes what a world still lacks; normally nothing, once its scene has come.
void finishWorldTextures(const World* world) {
    if (!textureDeferral() || !world) return;
    finishTexturesOf(world);
    if (world->environment) finishTexturesOf(world->environment);
}
// The world a scene puts on show is complete before that scene's first frame: normally
// built already while the scene before played; at the opening, built here.
void readScene() {
    camera.readScene();
    keepReachableWorldTextures();
    finishWorldTextures(activeWorld);
}
// A scene ended before it is shown (the opening galaxy skipped): the next one is already due.
void setSceneEnded() {
    camera.sceneEnded = true;
    finishWorldTextures(camera.worldPending ? pendingWorld : activeWorld);
}

// A track that runs out resets the scene clock: the run's copy follows it.
void updateCamera() {
    camera.updateCamera();
    saverState.sceneClock = sceneClock;
}
bool sceneEnded() { return camera.sceneEnded; }
void updateLists(double dt) { updateDrawLists(dt); }
void applyLookModes() { camera.applyLookModes(); }
void copyEyePoint() { camera.eye = camera.position; }

// A bounded slice of texture building after each frame's drawing (a band of a decode or
// of an upload), so that no frame waits long for it.
constexpr double kTextureBuildSecondsPerFrame = 0.002;
void composeFrameAndBuild() {
    composeFrame();
    if (textureDeferral()) continueTextureBuilds(kTextureBuildSecondsPerFrame);
}

void releaseLists() {
    releaseDrawLists();  // before the objects they point at go
    forgetDeferredTextures();
    clearWorldChoice();
    worldList.clear();
    environmentList.clear();
    dynamicObjects.clear();
}
void releaseMusicMember() { musicMember.close(); }

}  // namespace

const ShowParts& realShowParts() {
    static const ShowParts parts = {
        .clearWorldChoice = clearWorldChoice,
        .readMusicMember = readMusicMember,
        .showLoadingImage = showLoadingImage,
        .buildDigitGlyphs = buildDigitGlyphs,
        .setUpParticleField = setUpParticleField,
        .initCamera = initCamera,
        .readEnvironments = readEnvironmentScript,
        .readWorlds = readWorldScript,
        .readDynamicWorld = readDynamicWorld,
        .imxInit = imxInit,
        .imxStart = imxStart,
        .imxSetGlobalVolumes = imxSetGlobalVolumes,
        .imxStreamOpenFile = imxStreamOpenFile,
        .imxStreamPlay = imxStreamPlay,
        .imxUninit = imxUninit,
        .drawLoadingFrame = drawLoadingFrameFor,
        .seedRandom = seedGenerator,
        .drawRandom = drawRandom,
        .setParticleFieldOn = setParticleFieldOn,
        .setSceneClock = setSceneClock,
        .chooseOpening = chooseOpening,
        .readScene = readScene,
        .setSceneEnded = setSceneEnded,
        .updateCamera = updateCamera,
        .sceneEnded = sceneEnded,
        .updateLists = updateLists,
        .applyLookModes = applyLookModes,
        .copyEyePoint = copyEyePoint,
        .composeFrame = composeFrameAndBuild,
        .releaseLists = releaseLists,
        .releaseMusicMember = releaseMusicMember,
    };
    return parts;
}
