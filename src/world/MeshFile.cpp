#include "world/MeshFile.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
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

// Sky faces by member (every world file loads the same sky mesh again) and by list.
std::map<std::string, std::shared_ptr<const std::vector<SkyFace>>> skyFacesByMember;
std::map<unsigned, std::shared_ptr<const std::vector<SkyFace>>> skyFacesByList;

std::shared_ptr<const std::vector<SkyFace>> skyFaces(const char* memberName, const std::uint8_t* data,
                                                     const MeshLayout& layout) {
    auto& kept = skyFacesByMember[memberName];
    if (kept) return kept;
    auto faces = std::make_shared<std::vector<SkyFace>>();
    for (std::uint32_t face = 0; face < layout.faceCount; ++face) {
        Vec3 corner[3];
        float u[3], v[3];
        for (int i = 0; i < 3; ++i) {
            MeshCorner c = readCorner(data, layout, face, i);
            corner[i] = make(c.position[0], c.position[1], c.position[2]);
            u[i] = c.u;
            v[i] = c.v;
        }
        addSkyFace(*faces, corner, u, v);
    }
    kept = faces;
    return kept;
}

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
    GLuint list = glGenLists(1);
    if (list == 0) return 0;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    for (std::uint32_t face = 0; face < layout.faceCount; ++face) {
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
    if (list != 0 && asSky) skyFacesByList[list] = skyFaces(memberName, member.data(), layout);
    return list;
}

const std::vector<SkyFace>* skyFacesOf(unsigned list) {
    auto found = skyFacesByList.find(list);
    return found == skyFacesByList.end() ? nullptr : found->second.get();
}
