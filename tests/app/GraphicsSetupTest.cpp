#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "app/GraphicsSetup.h"
#include "script/Settings.h"
#include "support/OffscreenGL.h"
#include "world/GlExtensions.h"

namespace {

TEST(GraphicsSetup, GammaTables) {
    std::uint16_t table[256];
    gammaTable(1.0, table);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(table[i], i * 256) << i;

    gammaTable(gammaExponent(0), table);  // exponent 1.5: darker
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[128], static_cast<std::uint16_t>(std::trunc(std::pow(0.5, 1.5) * 65536)));
    gammaTable(gammaExponent(100), table);  // exponent 0.5: brighter
    EXPECT_EQ(table[64], 32768);
    for (int i = 1; i < 256; ++i) EXPECT_GT(table[i], table[i - 1]);

    EXPECT_FLOAT_EQ(gammaExponent(50), 1.0f);
    EXPECT_FLOAT_EQ(gammaExponent(0), 1.5f);
    EXPECT_FLOAT_EQ(gammaExponent(100), 0.5f);
    // A hand-edited Gamma outside 0..100 is held to the range, so the table still fits.
    EXPECT_FLOAT_EQ(gammaExponent(250), 0.5f);
    EXPECT_FLOAT_EQ(gammaExponent(-400), 1.5f);
    gammaTable(0.0, table);
    EXPECT_EQ(table[0], 65535);
    gammaTable(-1.0, table);
    EXPECT_EQ(table[0], 65535);
    EXPECT_EQ(table[255], 65535);
}

TEST(GraphicsSetup, LetterboxAndNearPlane) {
    LetterboxRect big = letterbox(1024, 768);
    EXPECT_EQ(big.x, 0);
    EXPECT_EQ(big.y, 96);
    EXPECT_EQ(big.width, 1024);
    EXPECT_EQ(big.height, 576);
    LetterboxRect small = letterbox(800, 600);
    EXPECT_EQ(small.y, 75);
    EXPECT_EQ(small.height, 450);
    LetterboxRect odd = letterbox(320, 241);  // 30.125 and 180.75, truncated
    EXPECT_EQ(odd.y, 30);
    EXPECT_EQ(odd.height, 180);

    EXPECT_DOUBLE_EQ(viewFrustum(32).nearPlane, 2);
    EXPECT_DOUBLE_EQ(viewFrustum(24).nearPlane, 8);
    EXPECT_DOUBLE_EQ(viewFrustum(16).nearPlane, 8);
    for (int depth : {16, 32}) {
        FrustumPlanes planes = viewFrustum(depth);
        // Same 16:9 shape at either scale.
        EXPECT_DOUBLE_EQ((planes.right - planes.left) / (planes.top - planes.bottom), 16.0 / 9.0);
        EXPECT_DOUBLE_EQ(planes.right / planes.nearPlane, 0.8);
        EXPECT_DOUBLE_EQ(planes.farPlane, 100000);
    }
}

TEST(GraphicsSetup, InitGraphicsSetsTheRunsState) {
    OffscreenGL gl(400, 300);
    ASSERT_TRUE(gl.ok());
    Settings saved = settings;
    settings.width = 400;
    settings.height = 300;
    settings.depth = 16;
    settings.defGamma = true;
    settings.vsync = false;
    ASSERT_TRUE(initGraphics());

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 37);
    EXPECT_EQ(viewport[2], 400);
    EXPECT_EQ(viewport[3], 225);

    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    float nearPlane = projection[14] / (projection[10] - 1);
    EXPECT_NEAR(nearPlane, 8.0f, 1e-3f);
    EXPECT_NEAR(projection[0], 2 * 8 / 12.8f, 1e-5f);
    EXPECT_NEAR(projection[5], 2 * 8 / 7.2f, 1e-5f);

    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
    GLint blend[2];
    glGetIntegerv(GL_BLEND_SRC, &blend[0]);
    glGetIntegerv(GL_BLEND_DST, &blend[1]);
    EXPECT_EQ(blend[0], GL_SRC_ALPHA);
    EXPECT_EQ(blend[1], GL_ONE);

    GLfloat value[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, value);
    EXPECT_FLOAT_EQ(value[0], 0.3f);
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, value);
    EXPECT_FLOAT_EQ(value[0], 60);
    glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, value);
    EXPECT_FLOAT_EQ(value[0], 3);
    glGetLightfv(GL_LIGHT2, GL_LINEAR_ATTENUATION, value);
    EXPECT_FLOAT_EQ(value[0], 0.006f);
    glGetLightfv(GL_LIGHT1, GL_SPECULAR, value);
    EXPECT_FLOAT_EQ(value[0], 0);
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, value);
    EXPECT_FLOAT_EQ(value[1], 1);
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, value);
    EXPECT_FLOAT_EQ(value[3], 0.1f);
    GLint control = 0;
    glGetIntegerv(GL_LIGHT_MODEL_COLOR_CONTROL, &control);
    EXPECT_EQ(control, GL_SEPARATE_SPECULAR_COLOR);
    GLint hint = 0;
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &hint);
    EXPECT_EQ(hint, GL_NICEST);

    EXPECT_NE(glActiveTextureARBPtr, nullptr);
    EXPECT_NE(glMultiTexCoord2fARBPtr, nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    settings = saved;
}

TEST(GraphicsSetup, DepthThirtyTwoKeepsTheNearPlaneAtTwo) {
    OffscreenGL gl(160, 120);
    ASSERT_TRUE(gl.ok());
    Settings saved = settings;
    settings.width = 160;
    settings.height = 120;
    settings.depth = 32;
    ASSERT_TRUE(initGraphics());
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[14] / (projection[10] - 1), 2.0f, 1e-3f);
    settings = saved;
}

}  // namespace
