// The generated meshes against the mesh reader's own validation, and their geometry:
// windings agree with normals, spheres face the right way, seams are split.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "mkcontent/MeshData.h"
#include "mkcontent/Shapes.h"
#include "world/MeshData.h"

namespace {

V3 toV3(const MeshData::Vec& v) { return {v.x, v.y, v.z}; }

V3 corner(const MeshData& m, size_t face, int c) { return toV3(m.positions[m.positionIndices[face * 3 + c]]); }

V3 windingNormal(const MeshData& m, size_t face) {
    V3 a = corner(m, face, 0), b = corner(m, face, 1), c = corner(m, face, 2);
    return cross(b - a, c - a);
}

V3 storedNormal(const MeshData& m, size_t face) {
    return toV3(m.normals[face * 3]) + toV3(m.normals[face * 3 + 1]) + toV3(m.normals[face * 3 + 2]);
}

// Encodes, lets the player's reader check the bytes, and decodes again.
MeshData throughReader(const MeshData& mesh) {
    std::vector<uint8_t> bytes = encodeMesh(mesh);
    MeshLayout layout;
    const char* problem = checkMeshData(bytes.data(), bytes.size(), layout);
    EXPECT_EQ(problem, nullptr) << problem;
    EXPECT_EQ(layout.vertexCount, mesh.positions.size());
    EXPECT_EQ(layout.faceCount, mesh.faceCount());
    EXPECT_EQ(layout.texCoordCount, mesh.texCoords.size());
    MeshData back;
    std::string error;
    EXPECT_TRUE(decodeMesh(bytes, back, error)) << error;
    return back;
}

}  // namespace

TEST(MeshFiles, EveryShapePassesTheReaderAndKeepsNormalsWithItsWinding) {
    const std::vector<std::pair<std::string, std::function<MeshData()>>> shapes = {
        {"fighter", makeFighter},      {"freighter", makeFreighter},
        {"courier", makeCourier},      {"station", makeStation},
        {"hauler", makeHauler},        {"probe", makeProbe},
        {"rock", [] { return makeAsteroid(3); }}, {"sphere", [] { return makeUvSphere(24, 12, false); }},
    };
    for (const auto& [name, make] : shapes) {
        SCOPED_TRACE(name);
        MeshData mesh = throughReader(make());
        ASSERT_GT(mesh.faceCount(), 20u);
        size_t against = 0, degenerate = 0;
        for (size_t f = 0; f < mesh.faceCount(); ++f) {
            V3 w = windingNormal(mesh, f);
            if (length(w) < 1e-9) {
                ++degenerate;
                continue;
            }
            if (dot(w, storedNormal(mesh, f)) <= 0) ++against;
        }
        // a smoothed normal may lean over at a sharp rim, but never on more than a sliver
        EXPECT_LE(against, mesh.faceCount() / 50) << "faces whose normals point against their winding";
        EXPECT_EQ(degenerate, 0u);
        for (const auto& n : mesh.normals) EXPECT_NEAR(length(toV3(n)), 1.0, 1e-4);
    }
}

TEST(MeshFiles, SkySphereFacesInwardAndPlanetSphereOutward) {
    MeshData outside = throughReader(makeUvSphere(32, 16, false));
    MeshData inside = throughReader(makeUvSphere(32, 16, true));
    for (size_t f = 0; f < outside.faceCount(); ++f) {
        V3 centre = corner(outside, f, 0) + corner(outside, f, 1) + corner(outside, f, 2);
        EXPECT_GT(dot(windingNormal(outside, f), centre), 0) << "face " << f;
        EXPECT_GT(dot(toV3(outside.normals[f * 3]), corner(outside, f, 0)), 0.99);
    }
    for (size_t f = 0; f < inside.faceCount(); ++f) {
        V3 centre = corner(inside, f, 0) + corner(inside, f, 1) + corner(inside, f, 2);
        EXPECT_LT(dot(windingNormal(inside, f), centre), 0) << "face " << f;
        EXPECT_LT(dot(toV3(inside.normals[f * 3]), corner(inside, f, 0)), -0.99);
    }
}

TEST(MeshFiles, SphereSeamCarriesTwoTextureCoordinatesAndPolesSitOnY) {
    const int segments = 16, rings = 8;
    MeshData mesh = throughReader(makeUvSphere(segments, rings, false));
    EXPECT_EQ(mesh.positions.size(), size_t(2 + (rings - 1) * segments));
    EXPECT_EQ(mesh.texCoords.size(), size_t((rings + 1) * (segments + 1)));
    EXPECT_EQ(mesh.faceCount(), size_t(2 * segments * (rings - 1)));
    // every face stays inside one strip of the texture: no face wraps from u near 1 to u near 0
    for (size_t f = 0; f < mesh.faceCount(); ++f) {
        float lo = 2, hi = -1;
        for (int c = 0; c < 3; ++c) {
            float u = mesh.texCoords[mesh.texCoordIndices[f * 3 + c]].u;
            lo = std::min(lo, u);
            hi = std::max(hi, u);
        }
        EXPECT_LE(hi - lo, 1.0f / segments + 1e-6f) << "face " << f;
    }
    // a position on the seam is used with u = 0 by one face and u = 1 by another
    bool zero = false, one = false;
    for (size_t i = 0; i < mesh.positionIndices.size(); ++i) {
        if (mesh.positionIndices[i] != 2) continue;  // first ring, seam column
        float u = mesh.texCoords[mesh.texCoordIndices[i]].u;
        zero |= u == 0.0f;
        one |= u == 1.0f;
    }
    EXPECT_TRUE(zero && one);
    // north pole is texture top (v = 1)
    for (size_t i = 0; i < mesh.positionIndices.size(); ++i) {
        if (mesh.positionIndices[i] == 0) EXPECT_EQ(mesh.texCoords[mesh.texCoordIndices[i]].v, 1.0f);
    }
    EXPECT_EQ(mesh.positions[0].y, 1.0f);
    EXPECT_EQ(mesh.positions[1].y, -1.0f);
}

TEST(MeshFiles, ShipsPointAlongXAndAsteroidsDifferBySeed) {
    // Flight frame: x forward, z down. The nose is the furthest point forward and the canopy
    // (upwards) sits on negative z.
    MeshData fighter = makeFighter();
    float front = -1e9f, back = 1e9f, top = 1e9f, bottom = -1e9f;
    for (const auto& p : fighter.positions) {
        front = std::max(front, p.x);
        back = std::min(back, p.x);
        top = std::min(top, p.z);
        bottom = std::max(bottom, p.z);
    }
    EXPECT_GT(front - back, 8.0f);
    EXPECT_LT(front - back, 12.0f);
    EXPECT_GT(-top, bottom) << "the canopy should stand out on the upper (negative z) side";

    MeshData a = makeAsteroid(3), b = makeAsteroid(8), again = makeAsteroid(3);
    EXPECT_EQ(encodeMesh(a), encodeMesh(again));
    EXPECT_NE(encodeMesh(a), encodeMesh(b));
}

TEST(MeshFiles, DecoderRejectsShortFilesAndStrayIndices) {
    MeshData mesh = makeUvSphere(8, 4, false);
    std::vector<uint8_t> bytes = encodeMesh(mesh);
    MeshData out;
    std::string error;
    std::vector<uint8_t> shorter(bytes.begin(), bytes.end() - 4);
    EXPECT_FALSE(decodeMesh(shorter, out, error));
    std::vector<uint8_t> tiny(bytes.begin(), bytes.begin() + 8);
    EXPECT_FALSE(decodeMesh(tiny, out, error));
    mesh.positionIndices[5] = uint32_t(mesh.positions.size());
    EXPECT_FALSE(decodeMesh(encodeMesh(mesh), out, error));
    EXPECT_NE(error.find("index"), std::string::npos);
    MeshData empty;
    EXPECT_TRUE(decodeMesh(encodeMesh(empty), out, error)) << "no faces is a valid, empty mesh";
}
