// A page records no frames: there is no file to write them to.
#include "app/FrameRecorder.h"

bool writePng(const std::string&, int, int, const std::vector<std::uint8_t>&) { return false; }
