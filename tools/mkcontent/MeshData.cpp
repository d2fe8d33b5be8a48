#include "mkcontent/MeshData.h"
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>

static void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

static void putF32(std::vector<uint8_t>& out, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    putU32(out, v);
}

std::vector<uint8_t> encodeMesh(const MeshData& mesh) {
    std::vector<uint8_t> out;
    size_t faces = mesh.faceCount();
    putU32(out, uint32_t(mesh.positions.size()));
    putU32(out, uint32_t(faces));
    putU32(out, uint32_t(mesh.texCoords.size()));
    for (const auto& p : mesh.positions) {
        putF32(out, p.x);
        putF32(out, p.y);
        putF32(out, p.z);
    }
    for (uint32_t i : mesh.positionIndices) putU32(out, i);
    for (uint32_t i : mesh.texCoordIndices) putU32(out, i);
    for (const auto& t : mesh.texCoords) {
        putF32(out, t.u);
        putF32(out, t.v);
    }
    for (const auto& n : mesh.normals) {
        putF32(out, n.x);
        putF32(out, n.y);
        putF32(out, n.z);
    }
    return out;
}

namespace {
struct Reader {
    const std::vector<uint8_t>& bytes;
    size_t pos = 0;
    uint32_t u32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t(bytes[pos + i]) << (8 * i);
        pos += 4;
        return v;
    }
    float f32() {
        uint32_t v = u32();
        float f;
        std::memcpy(&f, &v, 4);
        return f;
    }
};
}  // namespace

bool decodeMesh(const std::vector<uint8_t>& bytes, MeshData& mesh, std::string& error) {
    mesh = MeshData{};
    if (bytes.size() < 12) {
        error = "shorter than its header";
        return false;
    }
    Reader r{bytes};
    uint64_t v = r.u32(), f = r.u32(), t = r.u32();
    uint64_t expected = 12 + 12 * v + 60 * f + 8 * t;
    if (expected != bytes.size()) {
        error = "size " + std::to_string(bytes.size()) + " but the counts need " + std::to_string(expected);
        return false;
    }
    mesh.positions.resize(v);
    for (auto& p : mesh.positions) p = {r.f32(), r.f32(), r.f32()};
    mesh.positionIndices.resize(3 * f);
    for (auto& i : mesh.positionIndices) i = r.u32();
    mesh.texCoordIndices.resize(3 * f);
    for (auto& i : mesh.texCoordIndices) i = r.u32();
    mesh.texCoords.resize(t);
    for (auto& c : mesh.texCoords) c = {r.f32(), r.f32()};
    mesh.normals.resize(3 * f);
    for (auto& n : mesh.normals) n = {r.f32(), r.f32(), r.f32()};
    for (uint32_t i : mesh.positionIndices) {
        if (i >= v) {
            error = "position index out of range";
            return false;
        }
    }
    for (uint32_t i : mesh.texCoordIndices) {
        if (i >= t) {
            error = "texture coordinate index out of range";
            return false;
        }
    }
    for (const auto& p : mesh.positions) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
            error = "position is not a finite number";
            return false;
        }
    }
    for (const auto& n : mesh.normals) {
        if (!std::isfinite(n.x) || !std::isfinite(n.y) || !std::isfinite(n.z)) {
            error = "normal is not a finite number";
            return false;
        }
    }
    return true;
}

uint32_t MeshBuilder::positionIndex(V3 p) {
    // Exact float matches: corners meant to be shared come from the same arithmetic.
    MeshData::Vec v{float(p.x), float(p.y), float(p.z)};
    auto key = std::make_tuple(v.x, v.y, v.z);
    auto found = positionLookup.find(key);
    if (found != positionLookup.end()) return found->second;
    mesh.positions.push_back(v);
    uint32_t index = uint32_t(mesh.positions.size() - 1);
    positionLookup[key] = index;
    return index;
}

uint32_t MeshBuilder::texCoordIndex(MeshData::Uv t) {
    auto key = std::make_pair(t.u, t.v);
    auto found = texCoordLookup.find(key);
    if (found != texCoordLookup.end()) return found->second;
    mesh.texCoords.push_back(t);
    uint32_t index = uint32_t(mesh.texCoords.size() - 1);
    texCoordLookup[key] = index;
    return index;
}

void MeshBuilder::add(V3 p0, V3 p1, V3 p2, MeshData::Uv t0, MeshData::Uv t1, MeshData::Uv t2, V3 n0, V3 n1,
                      V3 n2) {
    V3 p[3] = {p0, p1, p2};
    MeshData::Uv t[3] = {t0, t1, t2};
    V3 n[3] = {n0, n1, n2};
    for (int i = 0; i < 3; ++i) {
        mesh.positionIndices.push_back(positionIndex(p[i]));
        mesh.texCoordIndices.push_back(texCoordIndex(t[i]));
        V3 u = normalized(n[i]);
        mesh.normals.push_back({float(u.x), float(u.y), float(u.z)});
    }
    faceNormals.push_back(normalized(cross(p1 - p0, p2 - p0)));
}

void MeshBuilder::addFlat(V3 p0, V3 p1, V3 p2, MeshData::Uv t0, MeshData::Uv t1, MeshData::Uv t2) {
    V3 n = normalized(cross(p1 - p0, p2 - p0));
    add(p0, p1, p2, t0, t1, t2, n, n, n);
}

void MeshBuilder::smooth(double creaseDegrees) {
    double limit = std::cos(creaseDegrees * M_PI / 180.0);
    std::vector<std::vector<size_t>> facesAt(mesh.positions.size());
    size_t faces = mesh.faceCount();
    for (size_t f = 0; f < faces; ++f) {
        for (int c = 0; c < 3; ++c) facesAt[mesh.positionIndices[3 * f + c]].push_back(f);
    }
    for (size_t f = 0; f < faces; ++f) {
        for (int c = 0; c < 3; ++c) {
            V3 sum{0, 0, 0};
            for (size_t g : facesAt[mesh.positionIndices[3 * f + c]]) {
                if (dot(faceNormals[f], faceNormals[g]) >= limit) sum = sum + faceNormals[g];
            }
            V3 n = normalized(sum);
            if (length(n) == 0) n = faceNormals[f];
            mesh.normals[3 * f + c] = {float(n.x), float(n.y), float(n.z)};
        }
    }
}

void MeshBuilder::toFlightFrame() {
    for (auto& p : mesh.positions) {
        p.y = -p.y;
        p.z = -p.z;
    }
    for (auto& n : mesh.normals) {
        n.y = -n.y;
        n.z = -n.z;
    }
    for (auto& n : faceNormals) n = {n.x, -n.y, -n.z};
}
