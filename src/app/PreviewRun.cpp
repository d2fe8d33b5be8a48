#include "app/PreviewRun.h"

#include <cstdint>
#include <cstdio>

#include "app/DialogPictures.h"
#include "image/BmpImage.h"
#include "platform/Platform.h"

namespace {

constexpr int kLiveShowWidth = 320;

std::uint64_t previewWindow(const SaverApp& app) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(app.parentWindow));
}

// The settings panel that started us waits for our end: no box for nobody to close.
int cannotCreateWindow() {
    std::fprintf(stderr, "ERROR: Cannot creat window!\n");
    return 1;
}

}  // namespace

std::uint64_t livePreviewWindow(const SaverApp& app) {
    int width = 0;
    int height = 0;
    std::uint64_t window = previewWindow(app);
    if (window == 0 || !platform::foreignWindowSize(window, width, height)) return 0;
    return width >= kLiveShowWidth ? window : 0;
}

int runPreviewMode(const SaverApp& app, bool displayStarted) {
    std::uint64_t window = previewWindow(app);
    if (!displayStarted || window == 0) return cannotCreateWindow();
    BmpImage picture;
    decodeBmp(previewPictureBmp, previewPictureBmpSize, picture);
    switch (platform::runPicturePreview(window, picture.rgb.data(), picture.width, picture.height, kLiveShowWidth)) {
        case platform::PreviewEnd::closed: return 0;
        case platform::PreviewEnd::grown: return kPreviewAreaGrew;
        case platform::PreviewEnd::failed: break;
    }
    return cannotCreateWindow();
}
