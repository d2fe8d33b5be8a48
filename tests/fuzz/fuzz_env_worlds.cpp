// env.txt and worlds.txt as the show reads them at start-up; the same bytes serve as
// both members, so one input can name environments and the worlds that use them.
#include "FuzzArchive.h"
#include "image/TextureLoader.h"
#include "script/World.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setGraphicsLoading(false);
    fuzz_archive::enterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_archive::writeArchiveOf({fuzz_archive::member("env.txt", data, size),
                                  fuzz_archive::member("worlds.txt", data, size)});
    EnvironmentList environments;
    WorldList worlds;
    readEnvironments(environments, "env.txt");
    readWorlds(worlds, environments, "worlds.txt");
    for (const auto& world : worlds)
        if (!world->firstPass || !world->postPass) __builtin_trap();
    return 0;
}
