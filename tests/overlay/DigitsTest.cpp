#include <cmath>
#include <cstring>
#include <ctime>
#include <string>

#include "overlay/ClockAndFps.h"
#include "overlay/DigitGlyphs.h"
#include "overlay/OverlayFixture.h"

namespace {

using overlaytest::cellLevel;
using overlaytest::prepareSaverState;

class Digits : public overlaytest::OverlayFixture {
protected:
    void SetUp() override {
        OverlayFixture::SetUp();
        if (digitGlyphs.firstList == 0) buildDigitGlyphs();
        prepareSaverState();
    }

    // Reads back the text drawn from (x, y): each glyph's own strip (clear of its
    // neighbours' overlap) carries its cell's grey level.
    std::string readDigits(int x, int y, int count) {
        std::string text;
        for (int k = 0; k < count; ++k) {
            int sampleX = x + int(std::floor(44.8f * k)) + 30;
            int level = red(sampleX, y + 32);
            int cell = int(std::lround(level / 20.0)) - 1;
            text += (cell >= 0 && cell <= 10) ? char('0' + cell) : '?';
        }
        return text;
    }

    static std::string localClock() {
        std::time_t now = std::time(nullptr);
        const std::tm* t = std::localtime(&now);
        char text[kClockTextSize];
        formatClock(t->tm_hour, t->tm_min, t->tm_sec, text);
        return text;
    }
};

TEST_F(Digits, ClockTextHasTwoDigitFields) {
    char text[kClockTextSize];
    formatClock(0, 0, 0, text);
    EXPECT_STREQ(text, "00:00:00");
    formatClock(23, 59, 59, text);
    EXPECT_STREQ(text, "23:59:59");
    formatClock(9, 5, 30, text);
    EXPECT_STREQ(text, "09:05:30");
    formatClock(10, 10, 10, text);
    EXPECT_STREQ(text, "10:10:10");
}

TEST_F(Digits, GlyphListsFollowTheTextureGrid) {
    ASSERT_NE(digitGlyphs.texture, 0u);
    ASSERT_NE(digitGlyphs.firstList, 0u);
    for (unsigned i = 0; i < 11; ++i) EXPECT_TRUE(glIsList(digitGlyphs.firstList + i)) << i;

    beginScreenOverlay();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, digitGlyphs.texture);
    glColor4f(1, 1, 1, 1);
    drawDigits(100, 300, "0123456789:");
    endScreenOverlay();
    EXPECT_EQ(readDigits(100, 300, 11), "0123456789:");
    // Other characters draw nothing and do not move the pen.
    forgetPixels();
    prepareSaverState();
    beginScreenOverlay();
    glBindTexture(GL_TEXTURE_2D, digitGlyphs.texture);
    drawDigits(100, 300, "1x2 3");
    endScreenOverlay();
    EXPECT_EQ(readDigits(100, 300, 3), "123");
}

TEST_F(Digits, ClockSitsInTheBottomBarFromX420) {
    std::string before, after, shown;
    do {
        forgetPixels();
        prepareSaverState();
        before = localClock();
        drawClock();
        after = localClock();
        shown = readDigits(420, 0, 8);
    } while (before != after);
    EXPECT_EQ(shown, before);
    EXPECT_EQ(red(419, 32), 0);
    EXPECT_GT(red(420, 32), 0);
    EXPECT_EQ(red(799, 32), 0);
    EXPECT_EQ(red(500, 65), 0);  // 64 units high, inside the 75-unit bar
}

TEST_F(Digits, FrameRateStartsAt0x540WithOrWithoutTheClock) {
    drawFps(1234);
    EXPECT_EQ(readDigits(0, 540, 4), "1234");
    EXPECT_GT(red(0, 560), 0);
    // Four glyphs advancing 44.8 each: the last ends at 134.4 + 64.
    EXPECT_GT(red(197, 560), 0);
    EXPECT_EQ(red(200, 560), 0);
    EXPECT_EQ(red(100, 530), 0);
    std::vector<unsigned char> alone = gl->readPixels();

    forgetPixels();
    prepareSaverState();
    drawClock();
    drawFps(1234);
    std::vector<unsigned char> withClock = gl->readPixels();
    std::size_t topBar = std::size_t(525) * 800 * 4;
    EXPECT_TRUE(std::equal(alone.begin() + topBar, alone.end(), withClock.begin() + topBar));

    forgetPixels();
    prepareSaverState();
    drawFps(0);
    EXPECT_EQ(readDigits(0, 540, 1), "0");
    EXPECT_EQ(red(80, 560), 0);
}

TEST_F(Digits, OverlaysLeaveTheStateAsTheyFoundIt) {
    drawClock();
    drawFps(60);
    GLint depth = 0, viewport[4] = {};
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 75);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 450);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

}  // namespace
