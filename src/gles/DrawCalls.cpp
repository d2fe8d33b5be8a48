// Vertices: glBegin/glEnd batches, the GL 1.1 vertex arrays (gathered into the same
// batches), and display lists recorded as vertex buffers with their matrix products.
#include <cstring>

#include "gles/GlesHeaders.h"
#include "gles/LayerState.h"
#include "gles/Primitives.h"

namespace gles {

namespace {

void emit(LayerState& s, float x, float y, float z) {
    Vertex v = s.current;
    v.position[0] = x;
    v.position[1] = y;
    v.position[2] = z;
    s.batch.push_back(v);
}

float component(const ClientArray& a, std::size_t index, int k) {
    int size = a.size;
    std::size_t elementBytes = a.type == GL_UNSIGNED_BYTE ? 1 : 4;
    std::size_t stride = a.stride ? std::size_t(a.stride) : std::size_t(size) * elementBytes;
    const char* at = static_cast<const char*>(a.pointer) + index * stride + std::size_t(k) * elementBytes;
    if (a.type == GL_UNSIGNED_BYTE) return static_cast<unsigned char>(*at) / 255.0f;
    if (a.type == GL_INT) {
        std::int32_t i;
        std::memcpy(&i, at, 4);
        return static_cast<float>(i);
    }
    float f;
    std::memcpy(&f, at, 4);
    return f;
}

// One element of the enabled arrays as the current attributes, then as a vertex.
void arrayElement(LayerState& s, std::size_t i) {
    Vertex& c = s.current;
    if (s.colorArray.enabled) {
        for (int k = 0; k < 4; ++k) c.color[k] = k < s.colorArray.size ? component(s.colorArray, i, k) : 1.0f;
    }
    if (s.normalArray.enabled) {
        for (int k = 0; k < 3; ++k) c.normal[k] = component(s.normalArray, i, k);
    }
    for (int u = 0; u < kUnits; ++u) {
        if (!s.texArrays[u].enabled) continue;
        for (int k = 0; k < 2; ++k) c.tex[u][k] = component(s.texArrays[u], i, k);
    }
    float p[3] = {0, 0, 0};
    for (int k = 0; k < s.vertexArray.size && k < 3; ++k) p[k] = component(s.vertexArray, i, k);
    emit(s, p[0], p[1], p[2]);
}

unsigned arrayAttributes(const LayerState& s) {
    unsigned bits = 0;
    if (s.colorArray.enabled) bits |= kColorBit;
    if (s.normalArray.enabled) bits |= kNormalBit;
    if (s.texArrays[0].enabled) bits |= kTex0Bit;
    if (s.texArrays[1].enabled) bits |= kTex1Bit;
    return bits;
}

ClientArray* clientArray(LayerState& s, GLenum array) {
    switch (array) {
        case 0x8074: return &s.vertexArray;
        case 0x8075: return &s.normalArray;
        case 0x8076: return &s.colorArray;
        case 0x8078: return &s.texArrays[s.clientUnit];
        default: return nullptr;
    }
}

void setPointer(ClientArray& a, GLint size, GLenum type, GLsizei stride, const void* pointer) {
    a.size = size;
    a.type = type;
    a.stride = stride;
    a.pointer = pointer;
}

}  // namespace

void submitBatch(unsigned glMode, std::vector<Vertex>& vertices, unsigned attributes) {
    LayerState& s = state();
    Assembly a = assemble(glMode, static_cast<std::uint32_t>(vertices.size()));
    if (a.order.empty()) return;
    std::vector<Vertex> ordered;
    ordered.reserve(a.order.size());
    for (std::uint32_t i : a.order) ordered.push_back(vertices[i]);
    if (s.recording) {
        DisplayList& list = s.lists[s.recording];
        ListOp op;
        op.draw = true;
        op.mode = a.mode;
        op.first = static_cast<std::uint32_t>(list.vertices.size());
        op.count = static_cast<std::uint32_t>(ordered.size());
        op.attributes = attributes;
        list.vertices.insert(list.vertices.end(), ordered.begin(), ordered.end());
        list.ops.push_back(op);
        return;
    }
    drawVertices(a.mode, ordered.data(), 0, static_cast<std::uint32_t>(ordered.size()), attributes, 0);
}

}  // namespace gles

using namespace gles;

void gles_glBegin(GLenum mode) {
    LayerState& s = state();
    s.inBegin = true;
    s.beginMode = mode;
    s.batch.clear();
    s.batchAttributes = 0;
}

void gles_glEnd() {
    LayerState& s = state();
    if (!s.inBegin) return;
    s.inBegin = false;
    // Immediate draws carry every attribute per vertex: the current values were copied in.
    unsigned attributes = s.recording ? s.listAttributes : (kColorBit | kNormalBit | kTex0Bit | kTex1Bit);
    submitBatch(s.beginMode, s.batch, attributes);
    s.batch.clear();
}

void gles_glVertex3f(GLfloat x, GLfloat y, GLfloat z) { emit(state(), x, y, z); }
void gles_glVertex2f(GLfloat x, GLfloat y) { emit(state(), x, y, 0); }
void gles_glVertex2i(GLint x, GLint y) { emit(state(), float(x), float(y), 0); }
void gles_glVertex3fv(const GLfloat* v) { emit(state(), v[0], v[1], v[2]); }

void gles_glEnableClientState(GLenum array) {
    if (ClientArray* a = clientArray(state(), array)) a->enabled = true;
}
void gles_glDisableClientState(GLenum array) {
    if (ClientArray* a = clientArray(state(), array)) a->enabled = false;
}
void gles_glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    setPointer(state().vertexArray, size, type, stride, pointer);
}
void gles_glNormalPointer(GLenum type, GLsizei stride, const void* pointer) {
    setPointer(state().normalArray, 3, type, stride, pointer);
}
void gles_glColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    setPointer(state().colorArray, size, type, stride, pointer);
}
void gles_glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
    LayerState& s = state();
    setPointer(s.texArrays[s.clientUnit], size, type, stride, pointer);
}

void gles_glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    LayerState& s = state();
    if (!s.vertexArray.enabled || count <= 0) return;
    Vertex saved = s.current;
    s.batch.clear();
    for (GLsizei i = 0; i < count; ++i) arrayElement(s, std::size_t(first + i));
    s.current = saved;
    unsigned attributes = s.recording ? (s.listAttributes | arrayAttributes(s)) : (kColorBit | kNormalBit | kTex0Bit | kTex1Bit);
    submitBatch(mode, s.batch, attributes);
    s.batch.clear();
}

void gles_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    LayerState& s = state();
    if (!s.vertexArray.enabled || count <= 0) return;
    Vertex saved = s.current;
    s.batch.clear();
    for (GLsizei i = 0; i < count; ++i) {
        std::size_t index = 0;
        if (type == GL_UNSIGNED_BYTE) index = static_cast<const std::uint8_t*>(indices)[i];
        else if (type == GL_UNSIGNED_SHORT) index = static_cast<const std::uint16_t*>(indices)[i];
        else index = static_cast<const std::uint32_t*>(indices)[i];
        arrayElement(s, index);
    }
    s.current = saved;
    unsigned attributes = s.recording ? (s.listAttributes | arrayAttributes(s)) : (kColorBit | kNormalBit | kTex0Bit | kTex1Bit);
    submitBatch(mode, s.batch, attributes);
    s.batch.clear();
}

GLuint gles_glGenLists(GLsizei range) {
    LayerState& s = state();
    if (range <= 0) return 0;
    GLuint first = s.nextList;
    s.nextList += static_cast<unsigned>(range);
    for (GLsizei i = 0; i < range; ++i) s.lists[first + unsigned(i)];
    return first;
}

void gles_glNewList(GLuint list, GLenum) {
    LayerState& s = state();
    if (list == 0 || s.recording) return;
    DisplayList& d = s.lists[list];
    if (d.buffer) glDeleteBuffers(1, &d.buffer);
    d = DisplayList{};
    s.recording = list;
    s.listAttributes = 0;
}

void gles_glEndList() {
    LayerState& s = state();
    if (!s.recording) return;
    DisplayList& d = s.lists[s.recording];
    s.recording = 0;
    if (d.vertices.empty()) return;
    glGenBuffers(1, &d.buffer);
    glBindBuffer(GL_ARRAY_BUFFER, d.buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(d.vertices.size() * sizeof(Vertex)), d.vertices.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    d.vertices.clear();
    d.vertices.shrink_to_fit();
}

void gles_glCallList(GLuint list) {
    LayerState& s = state();
    auto found = s.lists.find(list);
    if (found == s.lists.end() || s.recording == list) return;
    for (const ListOp& op : found->second.ops) {
        if (op.draw) drawVertices(op.mode, nullptr, op.first, op.count, op.attributes, found->second.buffer);
        else multiplyCurrent(op.matrix);
    }
}

void gles_glDeleteLists(GLuint list, GLsizei range) {
    LayerState& s = state();
    for (GLsizei i = 0; i < range; ++i) {
        auto found = s.lists.find(list + unsigned(i));
        if (found == s.lists.end()) continue;
        if (found->second.buffer) glDeleteBuffers(1, &found->second.buffer);
        s.lists.erase(found);
    }
}

GLboolean gles_glIsList(GLuint list) { return state().lists.count(list) ? GL_TRUE : GL_FALSE; }
