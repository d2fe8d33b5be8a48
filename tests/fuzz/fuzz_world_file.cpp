// A world file as the show reads it, then a few frames of the objects' own animation.
#include "FuzzArchive.h"
#include "image/TextureLoader.h"
#include "world/WorldFile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setGraphicsLoading(false);  // no GL context: textures and meshes are not made
    fuzz_archive::enterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_archive::writeArchiveOf({fuzz_archive::member("world\\w.txt", data, size)});
    ObjectList list;
    readWorldFile(list, "world\\w.txt");
    for (int frame = 0; frame < 3; ++frame)
        for (auto& object : list) object->update(1.0 / 60);
    return 0;
}
