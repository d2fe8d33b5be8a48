// GL 1.1 primitive kinds as GLES draws them: quads and polygons become triangles.
#pragma once

#include <cstdint>
#include <vector>

namespace gles {

// The GLES mode that draws `mode`, and the vertex order for it: the identity for kinds GLES
// has, triangles for quads (two per four vertices) and polygons (a fan); quad strips are
// triangle strips. An unknown mode draws nothing (empty order).
struct Assembly {
    unsigned mode = 0;
    std::vector<std::uint32_t> order;
};
Assembly assemble(unsigned glMode, std::uint32_t count);

}  // namespace gles
