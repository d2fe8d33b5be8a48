// Mesh members as the show reads them: checked, then every corner that the display
// list would receive is read (no GL context here, so the list itself is not made).
#include "FuzzArchive.h"
#include "world/MeshData.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_archive::enterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ArchiveMember member;
    fuzz_archive::openAsMember("meshes\\m.dat", data, size, member);
    MeshLayout layout;
    if (checkMeshData(member.data(), member.size(), layout)) return 0;
    if (layout.totalSize > member.size()) __builtin_trap();
    volatile float sink = 0;
    for (std::uint32_t face = 0; face < layout.faceCount; ++face)
        for (int corner = 0; corner < 3; ++corner) {
            MeshCorner c = readCorner(member.data(), layout, face, corner);
            sink = sink + c.normal[0] + c.u + c.position[2];
        }
    return 0;
}
