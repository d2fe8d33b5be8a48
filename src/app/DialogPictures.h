// The dialog pictures as 24-bit BMP files, painted by mkcontent and embedded by the build,
// so the dialog and the preview need no data files: the configuration picture (263 x 166)
// in the dialog view, the preview picture (155 x 115) in the program.
#pragma once

#include <cstddef>

extern const unsigned char configPictureBmp[];
extern const std::size_t configPictureBmpSize;
extern const unsigned char previewPictureBmp[];
extern const std::size_t previewPictureBmpSize;
