#include "overlay/LoadingScreen.h"
#include "overlay/OverlayFixture.h"
#include "support/MessageRecorder.h"

namespace {

using overlaytest::prepareSaverState;

TEST(LoadingFrame, SizesAndLevelsFollowProgress) {
    LoadingFrame first = loadingFrameAt(0);
    EXPECT_FLOAT_EQ(first.glowHalfWidth, 128);
    EXPECT_FLOAT_EQ(first.glowHalfHeight, 148);
    EXPECT_FLOAT_EQ(first.pictureHalfWidth, 128);
    EXPECT_FLOAT_EQ(first.pictureHalfHeight, 148);
    EXPECT_FLOAT_EQ(first.glowAlpha, 1);
    EXPECT_FLOAT_EQ(first.pictureLevel, 1);
    EXPECT_FLOAT_EQ(first.veilAlpha, 0);

    LoadingFrame half = loadingFrameAt(0.5f);
    EXPECT_FLOAT_EQ(half.pictureLevel, 0.5f);
    EXPECT_FLOAT_EQ(half.glowAlpha, 0.5f);
    EXPECT_FLOAT_EQ(half.veilAlpha, 0.5f);
    // Constant speed through the middle: ease(0.5, 0, 0.2) = 0.5 / 0.9, ease(0.5, 0.2, 0.2) = 0.5.
    EXPECT_NEAR(half.glowHalfWidth, 128 + 60 * 0.5f / 0.9f, 1e-3);
    EXPECT_NEAR(half.pictureHalfWidth, 148, 1e-3);

    // Toward the end the glow nears 376 x 336 units and the picture 336 x 306.
    LoadingFrame last = loadingFrameAt(0.9999f);
    EXPECT_NEAR(last.glowHalfWidth * 2, 376, 0.1);
    EXPECT_NEAR(last.glowHalfHeight * 2, 336, 0.1);
    EXPECT_NEAR(last.pictureHalfWidth * 2, 336, 0.1);
    EXPECT_NEAR(last.pictureHalfHeight * 2, 306, 0.1);
    EXPECT_LT(last.pictureLevel, 0.001f);
}

class LoadingScreenDraw : public overlaytest::OverlayFixture {};

TEST_F(LoadingScreenDraw, StillPictureThenAnimationFrames) {
    MessageRecorder messages;
    showLoadingImage();
    EXPECT_TRUE(messages.all().empty());
    ASSERT_NE(loadingScreen.picture, 0u);
    ASSERT_NE(loadingScreen.glow, 0u);
    EXPECT_NE(loadingScreen.picture, loadingScreen.glow);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    // 256 x 296 units in the middle: x 272..528, y 152..448.
    EXPECT_NEAR(red(400, 300), 100, 2);
    EXPECT_NEAR(red(273, 153), 100, 2);
    EXPECT_NEAR(red(527, 447), 100, 2);
    EXPECT_EQ(red(270, 300), 0);
    EXPECT_EQ(red(400, 450), 0);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    // The first frame: glow and picture at their starting size, added, no veil.
    forgetPixels();
    prepareSaverState();
    loadingScreen.loadingTime = 0;
    drawLoadingFrame(0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_NEAR(red(400, 300), 140, 3);
    EXPECT_EQ(red(270, 300), 0);
    EXPECT_EQ(red(400, 450), 0);

    // Halfway (two frames of 1.5 s): glow 40 x 0.5 plus picture 100 x 0.5 x 0.5, then a
    // white veil at 0.5 over the view; the bands outside the view stay as they were.
    forgetPixels();
    prepareSaverState();
    drawLoadingFrame(1.5f);
    forgetPixels();
    prepareSaverState();
    drawLoadingFrame(1.5f);
    EXPECT_FLOAT_EQ(loadingScreen.loadingTime, 3);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_NEAR(red(400, 300), 150, 3);
    EXPECT_NEAR(red(100, 300), 128, 2);
    EXPECT_EQ(red(100, 50), 0);
    loadingScreen.loadingTime = 0;
}

TEST_F(LoadingScreenDraw, MissingPicturesStillDrawWithoutErrors) {
    ScopedWorkingDir elsewhere(std::filesystem::temp_directory_path());
    MessageRecorder messages;
    LoadingScreen saved = loadingScreen;
    showLoadingImage();
    EXPECT_EQ(messages.all().size(), 2u);
    drawLoadingFrame(0.5f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    loadingScreen = saved;
}

}  // namespace
