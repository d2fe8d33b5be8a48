// Builds mesh members (three counts, positions, index triples, texture coordinates,
// per-corner normals; little-endian) for tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

struct TestMesh {
    std::vector<float> positions;             // x, y, z per vertex
    std::vector<std::uint32_t> faces;         // three position indices per face
    std::vector<std::uint32_t> texFaces;      // three texture-coordinate indices per face
    std::vector<float> texCoords;             // u, v per pair
    std::vector<float> normals;               // nine per face (or empty: all +z)

    std::vector<std::uint8_t> bytes() const {
        std::vector<std::uint8_t> out;
        auto u32 = [&out](std::uint32_t v) {
            for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        };
        auto f32 = [&u32](float f) {
            std::uint32_t bits;
            std::memcpy(&bits, &f, 4);
            u32(bits);
        };
        std::uint32_t faceCount = static_cast<std::uint32_t>(faces.size() / 3);
        u32(static_cast<std::uint32_t>(positions.size() / 3));
        u32(faceCount);
        u32(static_cast<std::uint32_t>(texCoords.size() / 2));
        for (float f : positions) f32(f);
        for (std::uint32_t i : faces) u32(i);
        for (std::uint32_t i : texFaces) u32(i);
        for (float f : texCoords) f32(f);
        if (normals.empty()) {
            for (std::uint32_t i = 0; i < faceCount * 3; ++i) { f32(0); f32(0); f32(1); }
        } else {
            for (float f : normals) f32(f);
        }
        return out;
    }
};

// Two triangles covering the square -1..1 in x and y at z = 0, facing +z, with texture
// coordinates 0..1 (per position).
inline TestMesh squareMesh() {
    TestMesh m;
    m.positions = {-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
    m.faces = {0, 1, 2, 0, 2, 3};
    m.texFaces = {0, 1, 2, 0, 2, 3};
    m.texCoords = {0, 0, 1, 0, 1, 1, 0, 1};
    return m;
}

// A cube with corners at +-1, faces wound counter-clockwise seen from outside.
inline TestMesh cubeMesh() {
    TestMesh m;
    m.positions = {-1, -1, -1, 1, -1, -1, 1, 1, -1, -1, 1, -1, -1, -1, 1, 1, -1, 1, 1, 1, 1, -1, 1, 1};
    m.faces = {4, 5, 6, 4, 6, 7,  1, 0, 3, 1, 3, 2,  5, 1, 2, 5, 2, 6,
               0, 4, 7, 0, 7, 3,  7, 6, 2, 7, 2, 3,  0, 1, 5, 0, 5, 4};
    m.texFaces = std::vector<std::uint32_t>(36, 0);
    for (std::size_t i = 0; i < 12; ++i) {
        m.texFaces[i * 3] = 0;
        m.texFaces[i * 3 + 1] = 1;
        m.texFaces[i * 3 + 2] = 2;
    }
    m.texCoords = {0, 0, 1, 0, 1, 1};
    return m;
}
