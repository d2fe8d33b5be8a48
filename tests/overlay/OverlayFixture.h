// An 800 x 600 offscreen window (so overlay space is window pixels), the GL state the
// saver's set-up leaves, and an archive with the overlay's pictures, shared by a suite.
#pragma once

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/TextureLoader.h"
#include "imppack/ArchiveWriter.h"
#include "overlay/OverlayProjection.h"
#include "script/Settings.h"
#include "support/OffscreenGL.h"
#include "support/TempDir.h"
#include "support/TestJpeg.h"

namespace overlaytest {

using Bytes = std::vector<std::uint8_t>;

// Grey level of digit cell k in the test "c.jpg": 20, 40, ... 220 for "0" to ":".
inline int cellLevel(int k) { return 20 * (k + 1); }

// A 256 x 256 grid of 4 x 4 cells, row 0 at the top; cell k (row-major) is cellLevel(k),
// the unused cells black.
inline Bytes digitSheet() {
    Bytes pixels(256 * 256 * 3, 0);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            int k = (y / 64) * 4 + x / 64;
            if (k < 11)
                for (int c = 0; c < 3; ++c) pixels[(std::size_t(y) * 256 + x) * 3 + c] = std::uint8_t(cellLevel(k));
        }
    return writeTestJpeg(pixels, 256, 256, 3);
}

inline Bytes flatJpeg(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return writeTestJpeg(bandedPixels(64, 64, {r, g, b}), 64, 64, 3);
}

// What the GL set-up leaves: additive blending, texturing, lighting and depth test on,
// alpha test off, the letterbox viewport, identity matrices.
inline void prepareSaverState() {
    forgetTextureFacts();  // names of earlier tests' contexts
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    setLetterboxViewport();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

class OverlayFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        settings.width = 800;
        settings.height = 600;
        if (!gl) gl = new OffscreenGL(800, 600);
        dir = new TempDir;
        std::vector<PackInput> inputs = {
            {"c.jpg", digitSheet()},
            {"load.jpg", flatJpeg(100, 100, 100)},
            {"loadg.jpg", flatJpeg(40, 40, 40)},
        };
        std::string error;
        ASSERT_TRUE(writeArchive(dir->file("data.ssd"), inputs, PackOptions{}, &error)) << error;
    }
    // The context stays until the process ends: closing it unloads the GL driver, whose
    // own allocations would then show up as leaks without a name to suppress them by.
    static void TearDownTestSuite() {
        delete dir;
        dir = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(gl->ok());
        settings.width = 800;
        settings.height = 600;
        cwd = new ScopedWorkingDir(dir->path());
        prepareSaverState();
    }
    void TearDown() override {
        delete cwd;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    // Red channel of window pixel (x, y), y counted from the bottom.
    int red(int x, int y) {
        if (pixels.empty()) pixels = gl->readPixels();
        return pixels[(std::size_t(y) * 800 + x) * 4];
    }
    // Drawing again makes the next red() read the window afresh.
    void forgetPixels() { pixels.clear(); }

    static inline OffscreenGL* gl = nullptr;
    static inline TempDir* dir = nullptr;
    ScopedWorkingDir* cwd = nullptr;
    std::vector<unsigned char> pixels;
};

}  // namespace overlaytest
