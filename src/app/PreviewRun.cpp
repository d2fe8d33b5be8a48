#include "app/PreviewRun.h"

#include <cstdint>
#include <cstdio>

#include "app/DialogPictures.h"
#include "image/BmpImage.h"
#include "platform/Platform.h"

namespace {

int cannotCreateWindow(bool displayStarted) {
    std::fprintf(stderr, "ERROR: Cannot creat window!\n");
    if (displayStarted) platform::messageBox("Cannot creat window!", "ERROR");
    return 1;
}

}  // namespace

int runPreviewMode(const SaverApp& app, bool displayStarted) {
    auto window = static_cast<std::uint64_t>(static_cast<std::uint32_t>(app.parentWindow));
    int width = 0;
    int height = 0;
    if (!displayStarted || window == 0 || !platform::foreignWindowSize(window, width, height)) {
        return cannotCreateWindow(displayStarted);
    }
    BmpImage picture;
    decodeBmp(previewPictureBmp, previewPictureBmpSize, picture);
    if (!platform::runPicturePreview(window, picture.rgb.data(), picture.width, picture.height)) {
        return cannotCreateWindow(displayStarted);
    }
    return 0;
}
