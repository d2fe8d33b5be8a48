#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "image/DarkCells.h"
#include "world/LitQuad.h"
#include "world/TexelDensity.h"

namespace {

ClipVector at(ClipVector o, ClipVector a, ClipVector b, float u, float v) {
    return {o.x + u * a.x + v * b.x, o.y + u * a.y + v * b.y, o.z + u * a.z + v * b.z, o.w + u * a.w + v * b.w};
}

// Texels per pixel at (u, v) by finite differences of the projected texture coordinates.
float measuredRate(ClipVector o, ClipVector a, ClipVector b, float u, float v, float size, float texels) {
    auto screen = [&](float su, float sv, float& x, float& y) {
        ClipVector p = at(o, a, b, su, sv);
        x = p.x / p.w * size / 2;
        y = p.y / p.w * size / 2;
    };
    const float h = 1e-3f;
    float x0, y0, xu, yu, xv, yv;
    screen(u, v, x0, y0);
    screen(u + h, v, xu, yu);
    screen(u, v + h, xv, yv);
    float j[2][2] = {{(xu - x0) / (h * texels), (xv - x0) / (h * texels)}, {(yu - y0) / (h * texels), (yv - y0) / (h * texels)}};
    float det = j[0][0] * j[1][1] - j[0][1] * j[1][0];
    return std::max(std::hypot(j[1][1], j[1][0]), std::hypot(j[0][1], j[0][0])) / std::fabs(det);
}

}  // namespace

TEST(TexelDensity, QuadBoundHoldsEverywhereAndRefusesWhatItCannotBound) {
    // Facing the eye at w = 1: 2 clip units span the 100-pixel viewport, so a 50-texel
    // texture gives half a texel per pixel, exactly.
    ClipVector o{-1, -1, 0, 1}, a{2, 0, 0, 0}, b{0, 2, 0, 0};
    EXPECT_NEAR(quadTexelsPerPixel(o, a, b, 100, 100, 50, 50), 0.5f, 1e-5f);
    EXPECT_NEAR(quadTexelsPerPixel(o, a, b, 100, 100, 400, 50), 4.0f, 1e-4f);

    // Tilted away (w from 1 to 3 along v): the bound is at least the rate at every point.
    ClipVector tilted{-1, -1, 0, 1}, along{0, 2, 0, 2};
    float bound = quadTexelsPerPixel(tilted, a, along, 100, 100, 64, 64);
    float worst = 0;
    for (float u = 0.05f; u < 1; u += 0.1f)
        for (float v = 0.05f; v < 1; v += 0.1f) worst = std::max(worst, measuredRate(tilted, a, along, u, v, 100, 64));
    EXPECT_GE(bound, worst);
    EXPECT_LT(bound, 20 * worst);  // conservative, not useless

    // A corner at or behind the eye, or a quad seen edge-on: no bound.
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(quadTexelsPerPixel(ClipVector{-1, -1, 0, -0.5f}, a, ClipVector{0, 2, 0, 2}, 100, 100, 8, 8), inf);
    EXPECT_EQ(quadTexelsPerPixel(o, a, ClipVector{2, 0, 0, 0}, 100, 100, 8, 8), inf);

    // Levels read: magnified (with room to spare) reads level 0 only; λ = 2 reads up to 3,
    // plus one for the renderer's rounding; no bound reads any level.
    EXPECT_EQ(deepestLevelRead(0.4f), 0);
    EXPECT_EQ(deepestLevelRead(4.0f), 3);
    EXPECT_GT(deepestLevelRead(inf), DarkCells::kLevels);
}

TEST(TexelDensity, SkyBoundCountsOnlyFacesTheViewCanShow) {
    // Two faces one unit from the centre, straight ahead (-z) and straight behind (+z); the
    // one behind has 100 times the texture coordinates.
    const Vec3 ahead[3] = {make(-0.1f, -0.1f, -1), make(0.1f, -0.1f, -1), make(-0.1f, 0.1f, -1)};
    const Vec3 behind[3] = {make(-0.1f, -0.1f, 1), make(-0.1f, 0.1f, 1), make(0.1f, -0.1f, 1)};
    const float u[3] = {0, 0.2f, 0}, v[3] = {0, 0, 0.2f};
    const float u100[3] = {0, 20, 0}, v100[3] = {0, 0, 20};
    std::vector<SkyFace> faces(2);
    ASSERT_TRUE(makeSkyFace(ahead, u, v, faces[0]));
    ASSERT_TRUE(makeSkyFace(behind, u100, v100, faces[1]));
    // Face ahead: 1 coordinate unit per unit length, seen square on at distance 1 to ~1.01.
    float looking = skyTexelsPerPixel(faces, make(0, 0, -1), 0.5f, 0.001f, 100, 100);
    EXPECT_GT(looking, 0.1f);
    EXPECT_LT(looking, 0.11f);
    // Turned round, the dense face is in view.
    EXPECT_GT(skyTexelsPerPixel(faces, make(0, 0, 1), 0.5f, 0.001f, 100, 100), 10);
    // A face with no area draws nothing and gives no face.
    const Vec3 flat[3] = {make(0, 0, -1), make(0, 0, -1), make(0.1f, 0, -1)};
    SkyFace none;
    EXPECT_FALSE(makeSkyFace(flat, u, v, none));
}

TEST(DarkCells, MarksCellsWhereNoFilterReachesALitTexel) {
    // 64 x 64 black but for one texel at (40, 10) and one at the corner (0, 0); cells are 4
    // texels a side.
    std::vector<std::uint8_t> rgb(64 * 64 * 3, 0);
    rgb[(10 * 64 + 40) * 3 + 1] = 1;
    rgb[0] = 200;
    DarkCells cells(rgb.data(), 64, 64);
    EXPECT_FALSE(cells.dark(0, 10, 2));  // the lit texel's own cell
    EXPECT_FALSE(cells.dark(0, 9, 2));   // within reach of its filter
    EXPECT_TRUE(cells.dark(0, 5, 8));
    EXPECT_FALSE(cells.dark(0, 15, 15));  // the corner texel, across the repeat
    EXPECT_FALSE(cells.dark(3, 7, 2));    // level 3 reads 16 texels round
    EXPECT_TRUE(cells.dark(3, 5, 10));
    EXPECT_FALSE(cells.dark(DarkCells::kLevels, 5, 8));  // deeper than kept: never dark
    // Textures too small for the grid are never dark.
    DarkCells small(rgb.data(), 32, 32);
    EXPECT_FALSE(small.dark(0, 5, 8));
}

#include "image/TextureLoader.h"
#include "support/RenderKit.h"
#include "world/QuadStrip.h"

TEST(LitQuad, DrawsTheSamePixelsAsTheWholeQuad) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    // 64 x 64: a lit noise disc in the middle, black outside it.
    std::vector<std::uint8_t> rgb(64 * 64 * 3, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x - 32) * (x - 32) + (y - 32) * (y - 32) < 14 * 14)
                for (int c = 0; c < 3; ++c) rgb[(y * 64 + x) * 3 + c] = std::uint8_t(40 + (x * 7 + y * 13 + c * 5) % 200);
    unsigned texture = createMipmappedRgbTexture(rgb.data(), 64, 64);
    ASSERT_NE(darkCellsOf(texture), nullptr);
    Camera camera;
    placeCamera(camera, make(0, 0, 10));
    // Near (magnified: level 0 alone, its black cells left out), far (minified: whole), tilted.
    for (Vec3 at : {make(0, 0, 6), make(0, 0, -60), make(0, 0, 2)}) {
        std::vector<unsigned char> whole, lit;
        for (bool cells : {false, true}) {
            kit.beginFrame(camera);
            glDisable(GL_LIGHTING);
            glDepthMask(GL_FALSE);
            glPushMatrix();
            glTranslatef(at.x, at.y, at.z);
            glRotatef(at.z > 5 ? 0 : 70, 1, 0, 0);
            glBindTexture(GL_TEXTURE_2D, texture);
            glColor4f(1, 1, 1, 0.8f);
            if (cells)
                drawLitQuad(texture, make(1, 0, 0), make(0, 1, 0), 3);
            else
                drawQuadStrip(make(1, 0, 0), make(0, 1, 0), 3);
            glPopMatrix();
            glDepthMask(GL_TRUE);
            glEnable(GL_LIGHTING);
            (cells ? lit : whole) = kit.pixels();
        }
        ASSERT_GT(RenderKit::totalLight(whole), 0);
        int largest = 0;
        // Colour only: black texels still add alpha, which no blend function here reads.
        for (std::size_t i = 0; i < whole.size(); ++i)
            if (i % 4 != 3) largest = std::max(largest, std::abs(int(whole[i]) - lit[i]));
        EXPECT_LE(largest, 1) << "quad at z " << at.z;  // rounding of the cut-up quad's coordinates at most
    }
    expectShowStateKept("lit quad");
}

// Triangles a draw sends, counted in GL's feedback mode.
int trianglesOf(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint used = glRenderMode(GL_RENDER);
    int triangles = 0;
    for (GLint i = 0; i < used;) {
        if (buffer[std::size_t(i)] == GL_POLYGON_TOKEN) {
            int corners = int(buffer[std::size_t(i) + 1]);
            triangles += corners - 2;
            i += 2 + corners * 3;
        } else {
            return -1;  // nothing but polygons is drawn here
        }
    }
    return triangles;
}

// The quad is cut up where that leaves out black cells: near, much of the disc texture's
// black surround is left out; far away its cells read levels where less is black.
TEST(LitQuad, IsCutUpOnlyWhereBlackCellsAreLeftOut) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    std::vector<std::uint8_t> rgb(64 * 64 * 3, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x - 32) * (x - 32) + (y - 32) * (y - 32) < 10 * 10)
                for (int c = 0; c < 3; ++c) rgb[(y * 64 + x) * 3 + c] = 200;
    unsigned disc = createMipmappedRgbTexture(rgb.data(), 64, 64);
    Camera camera;
    placeCamera(camera, make(0, 0, 10));
    kit.beginFrame(camera);
    glDisable(GL_CULL_FACE);
    auto at = [&](float z) {
        return trianglesOf([&] {
            glPushMatrix();
            glTranslatef(0, 0, z);
            drawLitQuad(disc, make(1, 0, 0), make(0, 1, 0), 1.2f);
            glPopMatrix();
        });
    };
    int near = at(6), far = at(-3000);
    EXPECT_GT(near, 2);
    EXPECT_LT(near, 2 * DarkCells::kGrid * DarkCells::kGrid / 2);  // less than half the cells
    EXPECT_EQ(far, 2);
}
