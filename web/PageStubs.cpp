// What a page leaves out: it records no frames (there is no file to write them to) and
// has no preview area for the preview picture.
#include "app/DialogPictures.h"
#include "app/FrameRecorder.h"

bool writePng(const std::string&, int, int, const std::vector<std::uint8_t>&) { return false; }

const unsigned char previewPictureBmp[1] = {0};
const std::size_t previewPictureBmpSize = 0;
