#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glext.h>

#include "imppack/ArchiveWriter.h"
#include "image/TextureLoader.h"
#include "support/OffscreenGL.h"
#include "support/ShowGL.h"
#include "support/TempDir.h"
#include "support/TestMesh.h"
#include "world/MeshData.h"
#include "world/MeshFile.h"

namespace {

void putU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

const char* check(const std::vector<std::uint8_t>& bytes) {
    MeshLayout layout;
    return checkMeshData(bytes.data(), bytes.size(), layout);
}

}  // namespace

TEST(MeshFile, LayoutFollowsTheCounts) {
    TestMesh mesh = squareMesh();
    mesh.texCoords.push_back(0.5f);  // T (5) differs from V (4): a seam pair
    mesh.texCoords.push_back(0.5f);
    auto bytes = mesh.bytes();
    MeshLayout layout;
    ASSERT_EQ(checkMeshData(bytes.data(), bytes.size(), layout), nullptr);
    EXPECT_EQ(layout.vertexCount, 4u);
    EXPECT_EQ(layout.faceCount, 2u);
    EXPECT_EQ(layout.texCoordCount, 5u);
    EXPECT_EQ(layout.positionIndicesAt, 12u + 48);
    EXPECT_EQ(layout.texCoordIndicesAt, 12u + 48 + 24);
    EXPECT_EQ(layout.texCoordsAt, 12u + 48 + 48);
    EXPECT_EQ(layout.normalsAt, 12u + 48 + 48 + 40);
    EXPECT_EQ(layout.totalSize, bytes.size());

    TestMesh empty;  // no faces: valid, an empty list
    empty.positions = {0, 0, 0};
    EXPECT_EQ(check(empty.bytes()), nullptr);
}

TEST(MeshFile, DamagedMembersAreRejectedBeforeReading) {
    auto good = squareMesh().bytes();
    // Every truncation, from nothing to one byte short (ASan would flag any overread).
    for (std::size_t n = 0; n < good.size(); ++n) {
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + n);
        EXPECT_NE(check(cut), nullptr) << n;
    }
    // A tail after the announced data is ignored, not taken for part of the mesh.
    auto longer = good;
    longer.insert(longer.end(), 37, 0xEE);
    MeshLayout layout;
    EXPECT_EQ(checkMeshData(longer.data(), longer.size(), layout), nullptr);
    EXPECT_EQ(layout.totalSize, good.size());
    EXPECT_EQ(layout.normalsAt + 36 * layout.faceCount, good.size());

    auto badPosition = good;
    putU32(badPosition, 12 + 48 + 4 * 4, 4);  // second face, corner 1: index == V
    EXPECT_NE(check(badPosition), nullptr);
    auto badTexture = good;
    putU32(badTexture, 12 + 48 + 24 + 5 * 4, 0xFFFFFFFFu);
    EXPECT_NE(check(badTexture), nullptr);

    // Counts near 2^32 must not wrap the size arithmetic into something small.
    auto huge = good;
    putU32(huge, 0, 0xFFFFFFFFu);
    putU32(huge, 4, 0x44444445u);
    EXPECT_NE(check(huge), nullptr);
    std::vector<std::uint8_t> header(12, 0xFF);
    EXPECT_NE(check(header), nullptr);
    MeshLayout unused;
    EXPECT_NE(checkMeshData(nullptr, 0, unused), nullptr);
}

namespace {

// A 2 x 1 texture: red on the left, green on the right.
GLuint redGreenTexture() {
    const unsigned char texels[8] = {255, 0, 0, 255, 0, 255, 0, 255};
    GLuint name;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    return name;
}

// Draws the list over the whole window with texturing on `unit` only; returns the
// pixels at a quarter and three quarters of the middle row.
void drawWithUnit(const OffscreenGL& gl, unsigned list, GLenum unit, unsigned char left[4], unsigned char right[4]) {
    glViewport(0, 0, gl.width(), gl.height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glActiveTextureARBPtr(unit == GL_TEXTURE0_ARB ? GL_TEXTURE1_ARB : GL_TEXTURE0_ARB);
    glDisable(GL_TEXTURE_2D);
    glActiveTextureARBPtr(unit);
    glEnable(GL_TEXTURE_2D);
    GLuint texture = redGreenTexture();
    glCallList(list);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &texture);
    glActiveTextureARBPtr(GL_TEXTURE0_ARB);
    auto pixels = gl.readPixels();
    const int row = gl.height() / 2;
    std::memcpy(left, &pixels[(row * gl.width() + gl.width() / 4) * 4], 4);
    std::memcpy(right, &pixels[(row * gl.width() + 3 * gl.width() / 4) * 4], 4);
}

}  // namespace

TEST(MeshFile, CompiledListCarriesCoordinatesOnBothUnits) {
    OffscreenGL gl(64, 64);
    ASSERT_TRUE(gl.ok());
    fetchMultitexture(gl);
    ASSERT_NE(glActiveTextureARBPtr, nullptr);
    auto bytes = squareMesh().bytes();
    MeshLayout layout;
    ASSERT_EQ(checkMeshData(bytes.data(), bytes.size(), layout), nullptr);
    unsigned list = compileMeshList(bytes.data(), layout);
    ASSERT_NE(list, 0u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    for (GLenum unit : {GLenum(GL_TEXTURE0_ARB), GLenum(GL_TEXTURE1_ARB)}) {
        unsigned char left[4], right[4];
        drawWithUnit(gl, list, unit, left, right);
        EXPECT_EQ(left[0], 255) << "unit " << unit - GL_TEXTURE0_ARB;
        EXPECT_EQ(left[1], 0);
        EXPECT_EQ(right[0], 0);
        EXPECT_EQ(right[1], 255);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(MeshFile, LoadsFromTheArchiveAndRejectsDamagedMembers) {
    OffscreenGL gl(32, 32);
    ASSERT_TRUE(gl.ok());
    fetchMultitexture(gl);
    TempDir dir;
    auto good = squareMesh().bytes();
    auto shortMember = good;
    shortMember.resize(good.size() - 3);
    auto badIndex = good;
    putU32(badIndex, 12 + 48, 9);
    auto withTail = good;
    withTail.insert(withTail.end(), {1, 2, 3, 4, 5});
    PackOptions options;
    options.method = Method::Stored;
    ASSERT_TRUE(writeArchive(dir.file("data.ssd"),
                             {{"meshes\\good.dat", good}, {"meshes\\short.dat", shortMember}, {"meshes\\bad.dat", badIndex},
                              {"meshes\\tail.dat", withTail}},
                             options));
    ScopedWorkingDir cwd(dir.path());

    setGraphicsLoading(true);
    unsigned first = loadMeshFile("meshes\\good.dat");
    unsigned second = loadMeshFile("meshes\\good.dat");
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);  // every load makes a new list
    EXPECT_TRUE(glIsList(first));
    EXPECT_NE(loadMeshFile("meshes\\tail.dat"), 0u);

    testing::internal::CaptureStderr();
    EXPECT_EQ(loadMeshFile("meshes\\short.dat"), 0u);
    EXPECT_EQ(loadMeshFile("meshes\\bad.dat"), 0u);
    EXPECT_EQ(loadMeshFile("meshes\\missing.dat"), 0u);
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("meshes\\short.dat"), std::string::npos);
    EXPECT_NE(errors.find("meshes\\bad.dat"), std::string::npos);

    setGraphicsLoading(false);
    EXPECT_EQ(loadMeshFile("meshes\\good.dat"), 0u);
    setGraphicsLoading(true);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
