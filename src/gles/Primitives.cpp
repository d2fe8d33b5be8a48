#include "gles/Primitives.h"

namespace gles {

namespace {

enum : unsigned {
    kPoints = 0,
    kLines = 1,
    kLineLoop = 2,
    kLineStrip = 3,
    kTriangles = 4,
    kTriangleStrip = 5,
    kTriangleFan = 6,
    kQuads = 7,
    kQuadStrip = 8,
    kPolygon = 9
};

void sequence(std::vector<std::uint32_t>& order, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) order.push_back(i);
}

}  // namespace

Assembly assemble(unsigned glMode, std::uint32_t count) {
    Assembly a;
    switch (glMode) {
        case kPoints:
        case kLines:
        case kLineLoop:
        case kLineStrip:
        case kTriangles:
        case kTriangleStrip:
        case kTriangleFan:
            a.mode = glMode;
            sequence(a.order, count);
            break;
        case kQuadStrip:
            // Pairs of vertices along the strip: the same quads as a triangle strip.
            a.mode = kTriangleStrip;
            sequence(a.order, count & ~1u);
            break;
        case kQuads:
            a.mode = kTriangles;
            for (std::uint32_t q = 0; q + 3 < count; q += 4) {
                for (std::uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) a.order.push_back(q + i);
            }
            break;
        case kPolygon:
            a.mode = kTriangleFan;
            sequence(a.order, count);
            break;
        default: break;
    }
    return a;
}

}  // namespace gles
