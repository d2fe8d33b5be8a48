#include <cmath>

#include "overlay/Fades.h"
#include "overlay/OverlayFixture.h"

namespace {

TEST(FadeAlpha, RisesOrFallsAcrossItsWindow) {
    FadeWindow fout{2, 4};
    float alpha = -1;
    ASSERT_TRUE(fadeAlpha(fout, 3, false, alpha));
    EXPECT_FLOAT_EQ(alpha, 0.5f);
    ASSERT_TRUE(fadeAlpha(fout, 4, false, alpha));
    EXPECT_FLOAT_EQ(alpha, 1);
    ASSERT_TRUE(fadeAlpha(fout, 2, false, alpha));
    EXPECT_FLOAT_EQ(alpha, 0);
    EXPECT_FALSE(fadeAlpha(fout, 4.01, false, alpha));
    EXPECT_FALSE(fadeAlpha(fout, 1.99, false, alpha));

    ASSERT_TRUE(fadeAlpha(fout, 2.5, true, alpha));
    EXPECT_FLOAT_EQ(alpha, 0.75f);

    // Off windows never match a scene time.
    EXPECT_FALSE(fadeAlpha(FadeWindow{}, 0, false, alpha));
    EXPECT_FALSE(fadeAlpha(FadeWindow{}, 10, true, alpha));

    // A window of no length is complete at its instant, with no division by zero.
    FadeWindow instant{5, 5};
    ASSERT_TRUE(fadeAlpha(instant, 5, false, alpha));
    EXPECT_EQ(alpha, 1);
    ASSERT_TRUE(fadeAlpha(instant, 5, true, alpha));
    EXPECT_EQ(alpha, 0);
    EXPECT_FALSE(fadeAlpha(instant, 5.001, false, alpha));
}

class Fades : public overlaytest::OverlayFixture {
protected:
    void SetUp() override {
        OverlayFixture::SetUp();
        drawPicture();
    }
    // Every window off, and a fresh picture: the bars' bands in grey, the view brighter.
    void drawPicture() {
        tearDownWindows();
        glClearColor(50 / 255.f, 50 / 255.f, 50 / 255.f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        beginViewOverlay();
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glColor4f(200 / 255.f, 200 / 255.f, 200 / 255.f, 1);
        glRectf(0, 0, 800, 600);
        glEnable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        endViewOverlay();
        forgetPixels();
    }
    static void tearDownWindows() { fadeOutBlack = fadeInBlack = fadeOutWhite = fadeInWhite = FadeWindow{}; }
    void TearDown() override {
        tearDownWindows();
        OverlayFixture::TearDown();
    }
    Camera& at(double t) {
        camera.time = t;
        return camera;
    }
};

TEST_F(Fades, FadeOutHalvesThePictureHalfwayThrough) {
    fadeOutBlack = {2, 4};
    drawFades(at(3));
    EXPECT_NEAR(red(400, 300), 100, 2);
    EXPECT_NEAR(red(5, 80), 100, 2);
    EXPECT_NEAR(red(795, 520), 100, 2);
    // The bands outside the letterbox are not touched.
    EXPECT_EQ(red(400, 70), 50);
    EXPECT_EQ(red(400, 530), 50);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE);
}

TEST_F(Fades, WindowEndsAreInclusive) {
    fadeOutBlack = {2, 4};
    drawFades(at(4));
    EXPECT_EQ(red(400, 300), 0);
    forgetPixels();
    drawFades(at(4.01));
    EXPECT_EQ(red(400, 300), 0);  // unchanged from the previous draw
    drawPicture();
    fadeOutBlack = {2, 4};
    drawFades(at(4.01));
    EXPECT_EQ(red(400, 300), 200);
}

TEST_F(Fades, WhiteFadesCoverOnlyTheView) {
    fadeInWhite = {0, 8};
    drawFades(at(0));
    EXPECT_EQ(red(400, 300), 255);
    EXPECT_EQ(red(400, 74), 50);
    EXPECT_EQ(red(400, 525), 50);
    EXPECT_EQ(red(400, 75), 255);
    EXPECT_EQ(red(400, 524), 255);
}

TEST_F(Fades, OverlappingWindowsDrawInTableOrder) {
    fadeOutBlack = {2, 4};   // 0.5 at t = 3
    fadeOutWhite = {0, 4};   // 0.75 at t = 3, drawn after the black
    drawFades(at(3));
    // (200 * 0.5) * 0.25 + 255 * 0.75; the other order would give about 121.
    EXPECT_NEAR(red(400, 300), 216, 3);

    drawPicture();
    fadeInBlack = {3, 5};    // 1 at t = 3
    fadeInWhite = {2, 4};    // 0.5 at t = 3
    drawFades(at(3));
    EXPECT_NEAR(red(400, 300), 128, 2);
}

}  // namespace
