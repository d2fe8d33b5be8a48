// The fixed-function state the layer keeps on the side of the GLES context: what GL 1.1
// would hold and GLES has no place for (matrices, lights, material, fog, texture units'
// environment, the current vertex attributes, display lists).
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gles/Matrix.h"

namespace gles {

constexpr int kLights = 3;
constexpr int kUnits = 2;

using Vec4 = std::array<float, 4>;

struct Vertex {
    float position[3];
    float color[4];
    float normal[3];
    float tex[kUnits][2];
};

struct Light {
    bool on = false;
    Vec4 position{0, 0, 1, 0};  // eye space
    Vec4 ambient{0, 0, 0, 1};
    Vec4 diffuse{0, 0, 0, 1};
    Vec4 specular{0, 0, 0, 1};
    std::array<float, 3> spotDirection{0, 0, -1};
    float spotExponent = 0;
    float spotCutoff = 180;
    float attenuation[3] = {1, 0, 0};
};

struct Material {
    Vec4 ambient{0.2f, 0.2f, 0.2f, 1};
    Vec4 diffuse{0.8f, 0.8f, 0.8f, 1};
    Vec4 specular{0, 0, 0, 1};
    Vec4 emission{0, 0, 0, 1};
    float shininess = 0;
};

struct TextureUnit {
    bool enabled = false;
    bool genS = false;
    bool genT = false;
    unsigned envMode = 0x2100;  // GL_MODULATE
    unsigned bound = 0;
    std::vector<Mat4> stack{identity()};
};

struct Fog {
    bool on = false;
    unsigned mode = 0x0800;  // GL_EXP
    float density = 1;
    float start = 0;
    float end = 1;
    Vec4 color{0, 0, 0, 0};
};

// What the layer knows of a texture: GL 1.1 draws an incomplete texture as no texture.
struct TextureInfo {
    bool hasImage = false;
    bool hasMipmaps = false;
    bool mipmapFilter = true;  // the default minifying filter samples mipmaps
    bool complete() const { return hasImage && (hasMipmaps || !mipmapFilter); }
};

// One client-side array of the GL 1.1 vertex array calls.
struct ClientArray {
    bool enabled = false;
    int size = 4;
    unsigned type = 0x1406;  // GL_FLOAT
    int stride = 0;
    const void* pointer = nullptr;
};

// Which attributes a display list's own calls set; the rest come from the current
// values when it is called.
enum AttributeBits : unsigned { kColorBit = 1, kNormalBit = 2, kTex0Bit = 4, kTex1Bit = 8 };

struct ListOp {
    bool draw = false;      // a draw, else a matrix product
    Mat4 matrix{};          // for a product
    unsigned mode = 0;      // GLES mode, for a draw
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    unsigned attributes = 0;
};

struct DisplayList {
    std::vector<ListOp> ops;
    std::vector<Vertex> vertices;  // while recording
    unsigned buffer = 0;           // after glEndList
};

struct LayerState {
    LayerState() {
        // GL's light 0 starts white; the others dark.
        lights[0].diffuse = {1, 1, 1, 1};
        lights[0].specular = {1, 1, 1, 1};
    }
    unsigned matrixMode = 0x1700;  // GL_MODELVIEW
    std::vector<Mat4> modelview{identity()};
    std::vector<Mat4> projection{identity()};
    int activeUnit = 0;
    int clientUnit = 0;
    TextureUnit units[kUnits];

    bool lighting = false;
    bool colorMaterial = false;
    bool separateSpecular = false;
    Vec4 sceneAmbient{0.2f, 0.2f, 0.2f, 1};
    Light lights[kLights];
    Material material;
    Fog fog;
    bool alphaTest = false;
    unsigned alphaFunc = 0x0207;  // GL_ALWAYS
    float alphaRef = 0;

    Vertex current{{0, 0, 0}, {1, 1, 1, 1}, {0, 0, 1}, {{0, 0}, {0, 0}}};
    bool inBegin = false;
    unsigned beginMode = 0;
    std::vector<Vertex> batch;
    unsigned batchAttributes = 0;  // set between glBegin and glEnd

    ClientArray vertexArray, normalArray, colorArray, texArrays[kUnits];

    std::unordered_map<unsigned, TextureInfo> textures;
    std::unordered_map<unsigned, DisplayList> lists;
    unsigned nextList = 1;
    unsigned recording = 0;  // the list being recorded, 0 when none
    unsigned listAttributes = 0;

    int unpackAlignment = 4;
    int packAlignment = 4;
};

LayerState& state();

// The matrix stack glMatrixMode names now.
std::vector<Mat4>& currentStack();
// Multiplies the current matrix (or records the product into the list being recorded).
void multiplyCurrent(const Mat4& m);

// Draws vertices through the layer's program with the current state. `attributes` says
// which of them carry their own colour, normal and coordinates (the rest use the current
// ones); `buffer` 0 streams `vertices`, else they lie in that buffer from `first`.
void drawVertices(unsigned glesMode, const Vertex* vertices, std::uint32_t first, std::uint32_t count,
                  unsigned attributes, unsigned buffer);
// Ends a glBegin batch or a vertex-array draw: into the list being recorded, or drawn now.
void submitBatch(unsigned glMode, std::vector<Vertex>& vertices, unsigned attributes);

// The depth of one pixel of the layer's framebuffer (0..1).
float readDepth(int x, int y);
// The framebuffer the layer draws into.
unsigned frameBuffer();

}  // namespace gles
