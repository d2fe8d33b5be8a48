#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <vector>

#include "support/RenderKit.h"
#include "world/LevelZeroSampling.h"

namespace {

GLint minFilter() {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    return value;
}

// The GL side of the bounds: the transform as GL applies it, a quad magnified near the eye
// and not far off, a sky judged by what the view can show of it, and level-0 sampling for
// one draw only.
TEST(LevelZeroSampling, ReadsTheViewAndSwitchesTheFilterForOneDraw) {
    RenderKit kit;
    ASSERT_TRUE(kit.gl.ok());
    std::vector<unsigned char> grey(16 * 16 * 3, 128);
    unsigned texture = createMipmappedRgbTexture(grey.data(), 16, 16);
    Camera camera;
    placeCamera(camera, make(0, 0, 10));
    kit.beginFrame(camera);

    glPushMatrix();
    glTranslatef(2, -1, 3);
    glRotatef(30, 0, 1, 0);
    ViewTransform t = currentViewTransform();
    GLdouble mv[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, mv);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(t.width, float(viewport[2]));
    EXPECT_EQ(t.height, float(viewport[3]));
    GLdouble x = 0, y = 0, z = 0;
    ASSERT_TRUE(gluProject(1, 2, -3, mv, projection, viewport, &x, &y, &z));
    ClipVector c = toClip(t, make(1, 2, -3), 1);
    EXPECT_NEAR((c.x / c.w + 1) / 2 * t.width, x - viewport[0], 0.01);
    EXPECT_NEAR((c.y / c.w + 1) / 2 * t.height, y - viewport[1], 0.01);
    EXPECT_NEAR((c.z / c.w + 1) / 2, z, 1e-4);
    glPopMatrix();

    // Sixteen texels across two units seen from four units away fill a hundred pixels.
    auto quadAt = [&](float z) {
        glPushMatrix();
        glTranslatef(0, 0, z);
        bool magnified = quadMagnified(texture, make(-1, -1, 0), make(2, 0, 0), make(0, 2, 0));
        glPopMatrix();
        return magnified;
    };
    EXPECT_TRUE(quadAt(6));
    EXPECT_FALSE(quadAt(-2000));
    EXPECT_FALSE(quadMagnified(solidTexture(9, 9, 9), make(-1, -1, 0), make(2, 0, 0), make(0, 2, 0)));

    // One face of a sky ahead: magnified unless the texture repeats a thousand times, and
    // then still when the view turns away from it.
    Vec3 corners[3] = {make(-1, -1, -1), make(1, -1, -1), make(0, 1, -1)};
    const float u[3] = {0, 1, 0.5f}, v[3] = {0, 0, 1};
    std::vector<SkyFace> faces(1);
    ASSERT_TRUE(makeSkyFace(corners, u, v, faces[0]));
    EXPECT_TRUE(skyMagnified(texture, faces, 0.5f, 1));
    EXPECT_FALSE(skyMagnified(texture, faces, 0.5f, 1000));
    placeCamera(camera, make(0, 0, 10), normalize(make(1, 0, 1)));
    kit.beginFrame(camera);
    EXPECT_TRUE(skyMagnified(texture, faces, 0.5f, 1000));
    placeCamera(camera, make(0, 0, 10), normalize(make(1, 0, 0.3f)));  // a wide view still shows its edge
    kit.beginFrame(camera);
    EXPECT_FALSE(skyMagnified(texture, faces, 1, 1000));
    EXPECT_FALSE(skyMagnified(texture, {}, 0.5f, 1));

    glBindTexture(GL_TEXTURE_2D, texture);
    {
        LevelZeroSampling sampling(true);
        EXPECT_EQ(minFilter(), GL_LINEAR);
    }
    EXPECT_EQ(minFilter(), GL_LINEAR_MIPMAP_LINEAR);
    {
        LevelZeroSampling sampling(false);
        EXPECT_EQ(minFilter(), GL_LINEAR_MIPMAP_LINEAR);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
