#include "script/OpeningWorld.h"

#include <cstdio>

#include "script/Camera.h"
#include "script/Scan.h"

void applyOpeningChoice(const char* sceneFile, const char* worldName, int variant) {
    copyName(camera.sceneFile, Camera::kSceneFileCapacity, sceneFile);
    variantCounter = variant;
    World* world = findWorld(worldList, worldName);
    if (world == nullptr) {
        world = worldList.empty() ? nullptr : worldList.front().get();
        std::fprintf(stderr, "voidrift: world \"%s\" is not in worlds.txt; opening with %s\n",
                     worldName, world ? world->name : "no world");
    }
    activeWorld = world;
    copyName(camera.sceneDir, Camera::kSceneDirCapacity, world ? world->sceneDir : "");
}
