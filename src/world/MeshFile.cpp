#include "world/MeshFile.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "archive/ArchiveMember.h"
#include "image/TextureLoader.h"
#include "world/GlExtensions.h"
#include "world/MeshData.h"

GeometrySlots geometrySlots;

namespace {

using SkyParts = std::vector<SkyPart>;
std::map<unsigned, std::shared_ptr<const SkyParts>> skyPartsByList;

std::uint32_t readU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

float readF32(const std::uint8_t* p) {
    std::uint32_t bits = readU32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Every index of `records` triples starting at `at` must be below `limit`.
bool indicesBelow(const std::uint8_t* data, std::size_t at, std::uint32_t records, std::uint32_t limit) {
    for (std::uint64_t i = 0; i < std::uint64_t(records) * 3; ++i) {
        if (readU32(data + at + i * 4) >= limit) return false;
    }
    return true;
}

void emitCorner(const MeshCorner& c) {
    glNormal3f(c.normal[0], c.normal[1], c.normal[2]);
    if (glMultiTexCoord2fARBPtr) {
        glMultiTexCoord2fARBPtr(GL_TEXTURE0_ARB, c.u, c.v);
        glMultiTexCoord2fARBPtr(GL_TEXTURE1_ARB, c.u, c.v);
    } else {
        glTexCoord2f(c.u, c.v);
    }
    glVertex3f(c.position[0], c.position[1], c.position[2]);
}

// Solid angle of a triangle seen from the origin, signed by its winding.
double signedSolidAngle(const Vec3 c[3]) {
    double a[3][3];
    for (int i = 0; i < 3; ++i) {
        double n = std::sqrt(double(c[i].x) * c[i].x + double(c[i].y) * c[i].y + double(c[i].z) * c[i].z);
        a[i][0] = c[i].x / n, a[i][1] = c[i].y / n, a[i][2] = c[i].z / n;
    }
    auto dotd = [](const double* p, const double* q) { return p[0] * q[0] + p[1] * q[1] + p[2] * q[2]; };
    double triple = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                    a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    double below = 1 + dotd(a[0], a[1]) + dotd(a[1], a[2]) + dotd(a[2], a[0]);
    return 2 * std::atan2(triple, below);
}

// Faces grouped by half octaves of texel density (faces with no bound on their own). The
// parts may be drawn in any order only when the faces cover every direction from the
// centre exactly once, all wound alike: otherwise the mesh stays one part in file order.
std::shared_ptr<const SkyParts> splitSky(const std::uint8_t* data, const MeshLayout& layout) {
    std::map<int, std::pair<std::vector<std::uint32_t>, std::vector<SkyFace>>> groups;
    double positive = 0, negative = 0;
    for (std::uint32_t index = 0; index < layout.faceCount; ++index) {
        Vec3 corner[3];
        float u[3], v[3];
        for (int i = 0; i < 3; ++i) {
            MeshCorner c = readCorner(data, layout, index, i);
            corner[i] = make(c.position[0], c.position[1], c.position[2]);
            u[i] = c.u;
            v[i] = c.v;
        }
        double angle = signedSolidAngle(corner);
        (angle > 0 ? positive : negative) += std::fabs(angle);
        SkyFace face;
        bool drawn = makeSkyFace(corner, u, v, face);
        float density = drawn ? skyFaceDensity(face) : 0;
        int group = density > 0 && density < 1e30f ? std::clamp(int(std::floor(2 * std::log2(density))), -64, 64)
                                                   : (density > 0 ? 1000 : -1000);
        auto& [indices, faces] = groups[group];
        indices.push_back(index);
        if (drawn) faces.push_back(face);
    }
    const double sphere = 4 * 3.14159265358979;
    bool coversOnce = std::min(positive, negative) < 1e-6 && std::fabs(std::max(positive, negative) - sphere) < 1e-3 * sphere;
    if (!coversOnce) {
        std::pair<std::vector<std::uint32_t>, std::vector<SkyFace>> all;
        for (auto& [key, group] : groups) {
            all.first.insert(all.first.end(), group.first.begin(), group.first.end());
            all.second.insert(all.second.end(), group.second.begin(), group.second.end());
        }
        std::sort(all.first.begin(), all.first.end());
        groups = {{0, std::move(all)}};
    }
    auto parts = std::make_shared<SkyParts>();
    for (auto& [key, group] : groups) {
        SkyPart part;
        part.list = compileMeshFaces(data, layout, group.first);
        part.faces = std::move(group.second);
        if (part.list == 0) return nullptr;
        parts->push_back(std::move(part));
    }
    return parts;
}

}  // namespace

MeshCorner readCorner(const std::uint8_t* data, const MeshLayout& m, std::uint32_t face, int corner) {
    MeshCorner c;
    std::size_t n = m.normalsAt + (std::size_t(face) * 9 + corner * 3) * 4;
    for (int i = 0; i < 3; ++i) c.normal[i] = readF32(data + n + 4 * i);
    std::uint32_t ti = readU32(data + m.texCoordIndicesAt + (std::size_t(face) * 3 + corner) * 4);
    c.u = readF32(data + m.texCoordsAt + std::size_t(ti) * 8);
    c.v = readF32(data + m.texCoordsAt + std::size_t(ti) * 8 + 4);
    std::uint32_t pi = readU32(data + m.positionIndicesAt + (std::size_t(face) * 3 + corner) * 4);
    std::size_t p = m.positionsAt + std::size_t(pi) * 12;
    for (int i = 0; i < 3; ++i) c.position[i] = readF32(data + p + 4 * i);
    return c;
}

const char* checkMeshData(const std::uint8_t* data, std::size_t size, MeshLayout& layout) {
    if (!data || size < 12) return "shorter than its header";
    MeshLayout m;
    m.vertexCount = readU32(data);
    m.faceCount = readU32(data + 4);
    m.texCoordCount = readU32(data + 8);
    // 64-bit sums: counts up to 2^32 - 1 cannot overflow them.
    std::uint64_t v = m.vertexCount, f = m.faceCount, t = m.texCoordCount;
    m.totalSize = 12 + 12 * v + 60 * f + 8 * t;
    // Bytes after the announced data are ignored: other tools leave such tails.
    if (size < m.totalSize) return "shorter than its counts announce";
    m.positionsAt = 12;
    m.positionIndicesAt = m.positionsAt + 12 * v;
    m.texCoordIndicesAt = m.positionIndicesAt + 12 * f;
    m.texCoordsAt = m.texCoordIndicesAt + 12 * f;
    m.normalsAt = m.texCoordsAt + 8 * t;
    if (!indicesBelow(data, m.positionIndicesAt, m.faceCount, m.vertexCount)) return "position index out of range";
    if (!indicesBelow(data, m.texCoordIndicesAt, m.faceCount, m.texCoordCount)) return "texture coordinate index out of range";
    layout = m;
    return nullptr;
}

unsigned compileMeshList(const std::uint8_t* data, const MeshLayout& layout) {
    std::vector<std::uint32_t> all(layout.faceCount);
    for (std::uint32_t face = 0; face < layout.faceCount; ++face) all[face] = face;
    return compileMeshFaces(data, layout, all);
}

unsigned compileMeshFaces(const std::uint8_t* data, const MeshLayout& layout, const std::vector<std::uint32_t>& faces) {
    GLuint list = glGenLists(1);
    if (list == 0) return 0;
    skyPartsByList.erase(list);  // a name a former context used
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    for (std::uint32_t face : faces) {
        for (int corner = 0; corner < 3; ++corner) emitCorner(readCorner(data, layout, face, corner));
    }
    glEnd();
    glEndList();
    glPopMatrix();
    glFinish();
    return list;
}

unsigned loadMeshFile(const char* memberName, bool asSky) {
    if (!graphicsLoading()) return 0;
    ArchiveMember member;
    if (member.open(memberName) != 0) {
        std::fprintf(stderr, "Mesh %s: cannot open member\n", memberName);
        return 0;
    }
    MeshLayout layout;
    if (const char* problem = checkMeshData(member.data(), member.size(), layout)) {
        std::fprintf(stderr, "Mesh %s rejected: %s\n", memberName, problem);
        return 0;
    }
    unsigned list = compileMeshList(member.data(), layout);
    if (list == 0) std::fprintf(stderr, "Mesh %s: no display list available\n", memberName);
    if (list != 0 && asSky) {
        skyPartsByList[list] = splitSky(member.data(), layout);
    }
    return list;
}

const std::vector<SkyPart>* skyPartsOf(unsigned list) {
    auto found = skyPartsByList.find(list);
    return found == skyPartsByList.end() ? nullptr : found->second.get();
}
