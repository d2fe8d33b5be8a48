#include "app/ShowParts.h"

#include "app/ComposeFrame.h"

// Each part's owner replaces its entry below with the real operation.
namespace {

void clearWorldChoice() {}
MemberBytes readMusicMember() { return {}; }
void showLoadingImage() {}
void buildDigitGlyphs() {}
void setUpParticleField() {}
void initCamera() {}
void readEnvironments() {}
void readWorlds() {}
void readDynamicWorld() {}

int imxInit(void*, int, int, int) { return 0; }
int imxStart() { return 0; }
int imxSetGlobalVolumes(int, int, int) { return 0; }
int imxStreamOpenFile(int, const void*, int, int, int) { return 0; }
int imxStreamPlay(int, int) { return 0; }
int imxUninit() { return 0; }

void drawLoadingFrame(double) {}

void seedRandom(std::uint32_t) {}
int drawRandom() { return 0; }
void setParticleFieldOn(bool) {}
void setSceneClock(float) {}
void chooseOpening(const char*, const char*, int) {}
void readScene() {}
void setSceneEnded() {}

void updateCamera() {}
bool sceneEnded() { return false; }
void updateLists(double) {}
void applyLookModes() {}
void copyEyePoint() {}

void releaseLists() {}
void releaseMusicMember() {}

}  // namespace

const ShowParts& realShowParts() {
    static const ShowParts parts = {
        .clearWorldChoice = clearWorldChoice,
        .readMusicMember = readMusicMember,
        .showLoadingImage = showLoadingImage,
        .buildDigitGlyphs = buildDigitGlyphs,
        .setUpParticleField = setUpParticleField,
        .initCamera = initCamera,
        .readEnvironments = readEnvironments,
        .readWorlds = readWorlds,
        .readDynamicWorld = readDynamicWorld,
        .imxInit = imxInit,
        .imxStart = imxStart,
        .imxSetGlobalVolumes = imxSetGlobalVolumes,
        .imxStreamOpenFile = imxStreamOpenFile,
        .imxStreamPlay = imxStreamPlay,
        .imxUninit = imxUninit,
        .drawLoadingFrame = drawLoadingFrame,
        .seedRandom = seedRandom,
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
