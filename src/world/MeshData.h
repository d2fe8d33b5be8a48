// The binary mesh layout, checked before anything is read: three little-endian counts
// (vertices V, faces F, texture coordinates T), then positions, position indices,
// texture-coordinate indices, texture coordinates and per-corner normals.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct MeshLayout {
    std::uint32_t vertexCount = 0;
    std::uint32_t faceCount = 0;
    std::uint32_t texCoordCount = 0;
    std::size_t positionsAt = 0;
    std::size_t positionIndicesAt = 0;
    std::size_t texCoordIndicesAt = 0;
    std::size_t texCoordsAt = 0;
    std::size_t normalsAt = 0;
    std::uint64_t totalSize = 0;
};

// What one corner of a face carries: its stored normal, (u, v) and position.
struct MeshCorner {
    float normal[3];
    float u, v;
    float position[3];
};

// Fills `layout` and returns nullptr when the bytes hold a complete, consistent mesh
// (at least what the counts announce, a tail after it ignored; every index below its
// count); otherwise returns a short reason and reads nothing beyond `size`.
const char* checkMeshData(const std::uint8_t* data, std::size_t size, MeshLayout& layout);

// Corner 0..2 of `face` of a checked mesh, as the display list receives it.
MeshCorner readCorner(const std::uint8_t* data, const MeshLayout& layout, std::uint32_t face, int corner);

// Compiles a checked mesh into a new display list (0 when none could be allocated).
// Both texture units receive each corner's coordinates.
unsigned compileMeshList(const std::uint8_t* data, const MeshLayout& layout);
// The same for the listed faces only, in that order.
unsigned compileMeshFaces(const std::uint8_t* data, const MeshLayout& layout, const std::vector<std::uint32_t>& faces);
