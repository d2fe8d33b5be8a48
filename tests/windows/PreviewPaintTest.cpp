// The preview's paint routine into a memory device context, pixel for pixel against the
// picture file the build embedded (a child painted by another process shows in no screen
// read-back under Wine, so the picture is checked here), and the choice of monitors to
// black out beside the full-screen show.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "image/BmpImage.h"
#include "platform/win32/MonitorCovers.h"
#include "platform/win32/Win32Preview.h"

namespace {

BmpImage readPicture(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    BmpImage image;
    decodeBmp(bytes.data(), bytes.size(), image);
    return image;
}

}  // namespace

TEST(PreviewPaint, CopiesPicture112ToTheTopLeftCornerAndNothingElse) {
    BmpImage expected = readPicture(VOIDRIFT_PICTURE_DIR "/preview.bmp");
    ASSERT_EQ(expected.width, 155);
    ASSERT_EQ(expected.height, 115);
    HBITMAP picture = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(112));
    ASSERT_NE(picture, nullptr);

    // A 200 x 150 target filled with a colour the picture cannot be mistaken for.
    const int width = 200;
    const int height = 150;
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP canvas = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(target, canvas);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    const std::uint32_t marker = 0x00ff00ff;
    std::fill(pixels, pixels + width * height, marker);

    paintPreviewPicture(target, picture);
    GdiFlush();

    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t got = pixels[y * width + x];
            std::uint32_t want = marker;
            if (x < expected.width && y < expected.height) {
                const std::uint8_t* rgb = &expected.rgb[static_cast<std::size_t>(y * expected.width + x) * 3];
                want = (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2];
            }
            if ((got & 0xffffff) != want) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);

    SelectObject(target, previous);
    DeleteObject(canvas);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
    DeleteObject(picture);
}

TEST(MonitorCovers, EveryMonitorThatSharesNoPixelWithTheShow) {
    const RECT primary = {0, 0, 1920, 1080};
    const RECT left = {-1280, 0, 0, 1024};
    const RECT above = {0, -768, 1024, 0};
    const RECT right = {1920, 200, 3200, 1224};
    const RECT show = {0, 0, 1920, 1080};
    std::vector<RECT> covered = monitorsBesideShow({left, primary, above, right}, show);
    ASSERT_EQ(covered.size(), 3u);
    EXPECT_EQ(covered[0].left, -1280);
    EXPECT_EQ(covered[1].top, -768);
    EXPECT_EQ(covered[2].left, 1920);
    EXPECT_TRUE(monitorsBesideShow({primary}, show).empty());
    // A show in a smaller mode still owns its own monitor.
    EXPECT_EQ(monitorsBesideShow({primary, right}, RECT{0, 0, 800, 600}).size(), 1u);
}
