// Drawing tests of the world objects: an offscreen window set up as the saver run sets
// up its GL state, a camera view, plain textures and checks that a draw left the
// shared GL state as it found it. Header-only (needs the world and script libraries).
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <vector>

#include "script/Camera.h"
#include "script/Settings.h"
#include "support/OffscreenGL.h"
#include "support/ShowGL.h"
#include "support/TestMesh.h"
#include "image/TextureLoader.h"
#include "world/MeshData.h"

// A 320 x 240 window: the letterbox is rows 30 .. 209.
struct RenderKit {
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;

    OffscreenGL gl{kWidth, kHeight};

    RenderKit() {
        settings.width = kWidth;
        settings.height = kHeight;
        forgetTextureFacts();  // names of earlier tests' contexts
        fetchMultitexture(gl);
        applyShowGLState(kWidth, kHeight);
        glClearColor(0, 0, 0, 0);
    }

    // Clears and applies the camera's view, with light 1 placed in the world as each frame does.
    void beginFrame(const Camera& camera) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        Vec3 c = camera.eye + camera.direction;
        gluLookAt(camera.eye.x, camera.eye.y, camera.eye.z, c.x, c.y, c.z, camera.up.x, camera.up.y, camera.up.z);
        const float light[4] = {0, 0, 99900, 1};
        glLightfv(GL_LIGHT1, GL_POSITION, light);
    }

    std::vector<unsigned char> pixels() const { return gl.readPixels(); }
    static const unsigned char* at(const std::vector<unsigned char>& p, int x, int y) {
        return &p[(static_cast<std::size_t>(y) * kWidth + x) * 4];
    }
    static int brightness(const std::vector<unsigned char>& p, int x, int y) {
        const unsigned char* c = at(p, x, y);
        return c[0] + c[1] + c[2];
    }
    // Sum of colour over every window pixel.
    static long totalLight(const std::vector<unsigned char>& p) {
        long sum = 0;
        for (std::size_t i = 0; i < p.size(); i += 4) sum += p[i] + p[i + 1] + p[i + 2];
        return sum;
    }
};

// A camera at `eye` looking down -z with +y up.
inline void placeCamera(Camera& camera, Vec3 eye, Vec3 direction = Vec3{0, 0, -1}, Vec3 up = Vec3{0, 1, 0}) {
    camera.position = eye;
    camera.eye = eye;
    camera.direction = direction;
    camera.up = up;
}

// A plain opaque texture of one colour.
inline GLuint solidTexture(unsigned char r, unsigned char g, unsigned char b) {
    std::vector<unsigned char> texels;
    for (int i = 0; i < 16; ++i) texels.insert(texels.end(), {r, g, b, 255});
    GLuint name;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return name;
}

inline unsigned compileTestMesh(const TestMesh& mesh) {
    auto bytes = mesh.bytes();
    MeshLayout layout;
    if (checkMeshData(bytes.data(), bytes.size(), layout) != nullptr) return 0;
    return compileMeshList(bytes.data(), layout);
}

// The state every object's draw must leave as the run set it up.
inline void expectShowStateKept(const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));  // no alpha function is set: it would pass all
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_TRUE(depthMask);
    GLint value = 0;
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, GL_MODELVIEW);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &value);
    EXPECT_EQ(value, 1);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &value);
    EXPECT_EQ(value, 1);
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &value);
    EXPECT_EQ(value, GL_TEXTURE0_ARB);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[1], RenderKit::kHeight / 8);
    EXPECT_EQ(viewport[3], RenderKit::kHeight * 3 / 4);
}
