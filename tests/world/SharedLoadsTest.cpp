#include <gtest/gtest.h>

#include <string>

#include "world/SharedLoads.h"

namespace {

int loads = 0;

// A new name for each load; "missing.jpg" fails.
unsigned load(const char* memberName) {
    ++loads;
    return std::string(memberName) == "missing.jpg" ? 0 : 100 + loads;
}
unsigned loadMesh(const char*, bool asSky) {
    ++loads;
    return (asSky ? 500 : 300) + loads;
}

// While the show starts, a member is loaded once for each way it is used; a failed load is
// tried again; before and after, every load makes its own.
TEST(SharedLoads, AMemberIsLoadedOnceWhileTheStartLasts) {
    loads = 0;
    EXPECT_FALSE(loadsShared());
    EXPECT_NE(sharedMipmappedTexture("a.jpg", load), sharedMipmappedTexture("a.jpg", load));
    EXPECT_NE(sharedMeshList("m.msh", false, loadMesh), sharedMeshList("m.msh", false, loadMesh));
    {
        SharedLoads start;
        EXPECT_TRUE(loadsShared());
        loads = 0;
        unsigned a = sharedMipmappedTexture("a.jpg", load);
        EXPECT_EQ(sharedMipmappedTexture("a.jpg", load), a);
        EXPECT_NE(sharedMipmappedTexture("b.jpg", load), a);
        unsigned plain = sharedPlainTexture("a.jpg", load);
        EXPECT_NE(plain, a);
        EXPECT_EQ(sharedPlainTexture("a.jpg", load), plain);
        EXPECT_EQ(loads, 3);
        EXPECT_EQ(sharedMipmappedTexture("missing.jpg", load), 0u);
        EXPECT_EQ(sharedMipmappedTexture("missing.jpg", load), 0u);
        EXPECT_EQ(loads, 5);

        unsigned mesh = sharedMeshList("m.msh", false, loadMesh);
        unsigned sky = sharedMeshList("m.msh", true, loadMesh);
        EXPECT_NE(mesh, sky);
        EXPECT_EQ(sharedMeshList("m.msh", false, loadMesh), mesh);
        EXPECT_EQ(sharedMeshList("m.msh", true, loadMesh), sky);
        EXPECT_EQ(loads, 7);
    }
    EXPECT_FALSE(loadsShared());
    loads = 0;
    sharedMipmappedTexture("a.jpg", load);
    sharedMeshList("m.msh", false, loadMesh);
    EXPECT_EQ(loads, 2);
}

}  // namespace
