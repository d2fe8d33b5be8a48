// The binary mesh member: counts, positions, two index tables, texture coordinates and
// per-corner normals, all little-endian 32-bit values.
#pragma once
#include "mkcontent/Vector.h"
#include <cstdint>
#include <map>
#include <tuple>
#include <utility>
#include <string>
#include <vector>

struct MeshData {
    struct Uv {
        float u = 0, v = 0;
    };
    struct Vec {
        float x = 0, y = 0, z = 0;
    };
    std::vector<Vec> positions;
    std::vector<uint32_t> positionIndices;  // three per face
    std::vector<uint32_t> texCoordIndices;  // three per face
    std::vector<Uv> texCoords;
    std::vector<Vec> normals;  // three per face, corner by corner

    size_t faceCount() const { return positionIndices.size() / 3; }
};

std::vector<uint8_t> encodeMesh(const MeshData& mesh);

// Parses a mesh member and checks that it is whole and consistent: sizes agree with the
// counts, every index is in range, nothing is NaN. On failure, error says why.
bool decodeMesh(const std::vector<uint8_t>& bytes, MeshData& mesh, std::string& error);

// Collects triangles with per-corner data and shares equal positions and coordinates.
class MeshBuilder {
public:
    void add(V3 p0, V3 p1, V3 p2, MeshData::Uv t0, MeshData::Uv t1, MeshData::Uv t2, V3 n0, V3 n1, V3 n2);
    // A triangle with its flat face normal (counter-clockwise seen from outside).
    void addFlat(V3 p0, V3 p1, V3 p2, MeshData::Uv t0, MeshData::Uv t1, MeshData::Uv t2);
    // Averages the normals of corners that share a position when their faces meet at
    // less than the crease angle, so curved parts look smooth and edges stay sharp.
    void smooth(double creaseDegrees);
    // Moves every position by (forward, left, up) -> (forward, right, down): the frame in
    // which a flying mesh is drawn.
    void toFlightFrame();
    const MeshData& data() const { return mesh; }

private:
    MeshData mesh;
    std::vector<V3> faceNormals;
    std::map<std::tuple<float, float, float>, uint32_t> positionLookup;
    std::map<std::pair<float, float>, uint32_t> texCoordLookup;
    uint32_t positionIndex(V3 p);
    uint32_t texCoordIndex(MeshData::Uv t);
};
