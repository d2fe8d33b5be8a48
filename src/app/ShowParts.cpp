#include "app/ShowParts.h"

#include "app/ComposeFrame.h"
#include "music/MusicLibrary.h"
#include "app/SaverState.h"
#include "app/StopSignals.h"
#include "archive/ArchiveMember.h"
#include "overlay/DigitGlyphs.h"
#include "overlay/LoadingScreen.h"
#include "script/Camera.h"
#include "script/OpeningWorld.h"
#include "script/Random.h"
#include "world/ParticleField.h"
#include "world/WorldFile.h"

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
void readScene() { camera.readScene(); }
void setSceneEnded() { camera.sceneEnded = true; }

// A track that runs out resets the scene clock: the run's copy follows it.
void updateCamera() {
    camera.updateCamera();
    saverState.sceneClock = sceneClock;
}
bool sceneEnded() { return camera.sceneEnded; }
void updateLists(double dt) { updateDrawLists(dt); }
void applyLookModes() { camera.applyLookModes(); }
void copyEyePoint() { camera.eye = camera.position; }

void releaseLists() {
    releaseDrawLists();  // before the objects they point at go
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
        .composeFrame = composeFrame,
        .releaseLists = releaseLists,
        .releaseMusicMember = releaseMusicMember,
    };
    return parts;
}
