#include "world/LitQuad.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "image/TextureLoader.h"
#include "world/LevelZeroSampling.h"
#include "world/QuadStrip.h"

namespace {

constexpr int kGrid = DarkCells::kGrid;

struct QuadFrame {
    Vec3 origin, alongU, alongV;
    // The corner at grid line (i, j); shared corners come out the same for every cell.
    Vec3 corner(int i, int j) const {
        return origin + alongU * (float(i) / kGrid) + alongV * (float(j) / kGrid);
    }
};

enum class Cell : unsigned char { Dark, Magnified, Mipmapped };

// Window pixels a cell covers, its corners held to the viewport (a rough measure of its
// cost; 0 when a corner lies behind the eye).
float cellPixels(const ViewTransform& view, const QuadFrame& q, int x, int y) {
    const int order[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    float px[4], py[4];
    for (int k = 0; k < 4; ++k) {
        ClipVector c = toClip(view, q.corner(x + order[k][0], y + order[k][1]), 1);
        if (!(c.w > 1e-6f)) return 0;
        px[k] = std::clamp((c.x / c.w + 1) / 2, 0.0f, 1.0f) * view.width;
        py[k] = std::clamp((c.y / c.w + 1) / 2, 0.0f, 1.0f) * view.height;
    }
    float area = 0;
    for (int k = 0; k < 4; ++k) area += px[k] * py[(k + 1) % 4] - px[(k + 1) % 4] * py[k];
    return std::fabs(area) / 2;
}

Cell classify(const DarkCells& cells, const ViewTransform& view, const QuadFrame& q, int x, int y, int width,
              int height) {
    ClipVector origin = toClip(view, q.corner(x, y), 1);
    ClipVector u = toClip(view, q.alongU * (1.0f / kGrid), 0), v = toClip(view, q.alongV * (1.0f / kGrid), 0);
    float bound = quadTexelsPerPixel(origin, u, v, view.width, view.height, float(width) / kGrid, float(height) / kGrid);
    if (cells.dark(deepestLevelRead(bound), x, y)) return Cell::Dark;
    return bound < kSafelyMagnified ? Cell::Magnified : Cell::Mipmapped;
}

void drawRun(const QuadFrame& q, int from, int to, int row) {
    Vec3 c0 = q.corner(from, row), c1 = q.corner(to, row), c2 = q.corner(from, row + 1), c3 = q.corner(to, row + 1);
    float u0 = float(from) / kGrid, u1 = float(to) / kGrid, v0 = float(row) / kGrid, v1 = float(row + 1) / kGrid;
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2f(u0, v0); glVertex3f(c0.x, c0.y, c0.z);
    glTexCoord2f(u1, v0); glVertex3f(c1.x, c1.y, c1.z);
    glTexCoord2f(u0, v1); glVertex3f(c2.x, c2.y, c2.z);
    glTexCoord2f(u1, v1); glVertex3f(c3.x, c3.y, c3.z);
    glEnd();
}

}  // namespace

int deepestLevelRead(float texelsPerPixel) {
    if (!(texelsPerPixel < 1e30f)) return 1 << 20;  // no bound: any level
    if (texelsPerPixel <= 0) return 0;
    // Levels floor(λ) and floor(λ) + 1 are read at λ = log2(texels per pixel).
    return std::max(0, int(std::floor(std::log2(texelsPerPixel) + 0.5f)) + 1);
}

void drawLitQuad(unsigned texture, Vec3 a, Vec3 b, float scale) {
    const DarkCells* cells = darkCellsOf(texture);
    int width = 0, height = 0;
    if (!cells || !mipmappedTextureSize(texture, width, height)) {
        drawQuadStrip(a, b, scale);
        return;
    }
    QuadFrame q{(-a - b) * scale, a * (2 * scale), b * (2 * scale)};
    ViewTransform view = currentViewTransform();
    Cell kind[kGrid][kGrid];
    int counts[3] = {};
    float pixels[3] = {};
    for (int y = 0; y < kGrid; ++y)
        for (int x = 0; x < kGrid; ++x) {
            kind[y][x] = classify(*cells, view, q, x, y, width, height);
            ++counts[int(kind[y][x])];
            pixels[int(kind[y][x])] += cellPixels(view, q, x, y);
        }
    // Strips thinner than the renderer's tiles cost it more per pixel: the quad is cut up
    // only when that leaves out, or samples more cheaply, a good share of its pixels.
    float all = pixels[0] + pixels[1] + pixels[2];
    bool worthCutting = pixels[int(Cell::Dark)] + pixels[int(Cell::Magnified)] / 2 >= all / 4;
    if (!worthCutting || (counts[int(Cell::Dark)] == 0 &&
                          (counts[int(Cell::Magnified)] == 0 || counts[int(Cell::Mipmapped)] == 0))) {
        // One filter for all: the whole quad.
        LevelZeroSampling sampling(counts[int(Cell::Magnified)] == kGrid * kGrid);
        drawQuadStrip(a, b, scale);
        return;
    }
    // Additive blending adds up the same whatever the order: the magnified cells first,
    // sampling level 0 only, then the others; each row's runs as one strip each.
    for (Cell wanted : {Cell::Magnified, Cell::Mipmapped}) {
        if (counts[int(wanted)] == 0) continue;
        LevelZeroSampling sampling(wanted == Cell::Magnified);
        for (int y = 0; y < kGrid; ++y) {
            for (int x = 0; x < kGrid;) {
                if (kind[y][x] != wanted) {
                    ++x;
                    continue;
                }
                int end = x;
                while (end < kGrid && kind[y][end] == wanted) ++end;
                drawRun(q, x, end, y);
                x = end;
            }
        }
    }
}
