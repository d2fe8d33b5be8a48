// A scene file as the sequencer reads it, over the shipped dynamic.txt objects, then
// played for a while: camera track, look modes and the objects' own tracks.
#include <cstring>

#include "FuzzArchive.h"
#include "image/TextureLoader.h"
#include "script/Camera.h"
#include "world/WorldFile.h"

namespace {
std::vector<std::uint8_t> dynamicText;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setGraphicsLoading(false);
    dynamicText = fuzz_archive::sourceFile("content/scripts/dynamic.txt");
    fuzz_archive::enterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_archive::writeArchiveOf({fuzz_archive::member("scenes\\s0.txt", data, size),
                                  fuzz_archive::member("dynamic.txt", dynamicText.data(), dynamicText.size())});
    resetSceneState();
    readWorldFile(dynamicObjects, "dynamic.txt");
    std::strcpy(camera.sceneDir, "scenes\\");
    std::strcpy(camera.sceneFile, "s0.txt");
    camera.readScene();
    for (int frame = 0; frame < 40 && !camera.sceneEnded; ++frame) {
        sceneClock += 0.75f;
        camera.updateCamera();
        for (auto& object : dynamicObjects) object->update(0.75);
        camera.applyLookModes();
    }
    return 0;
}
