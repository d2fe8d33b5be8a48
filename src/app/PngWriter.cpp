// PNG files for recorded frames (libpng). The web build, which records nothing, has none.
#include <png.h>

#include <cstdio>

#include "app/FrameRecorder.h"

namespace {

struct PngFile {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngFile() {
        if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
        if (file) std::fclose(file);
    }
    // The file's own close, whose failure (a full disk) counts.
    bool close() {
        std::FILE* closing = file;
        file = nullptr;
        return std::fclose(closing) == 0;
    }
};

// The image into out.file, flushed; false on any write error.
bool encodePng(PngFile& out, int width, int height, const std::vector<std::uint8_t>& rgbTopFirst) {
    out.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!out.png) return false;
    out.info = png_create_info_struct(out.png);
    if (!out.info) return false;
    // libpng reports write errors by long jump; nothing here needs unwinding but the file.
    if (setjmp(png_jmpbuf(out.png))) return false;
    png_init_io(out.png, out.file);
    png_set_compression_level(out.png, 3);
    png_set_IHDR(out.png, out.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(out.png, out.info);
    for (int row = 0; row < height; ++row) {
        png_write_row(out.png, rgbTopFirst.data() + static_cast<std::size_t>(row) * width * 3);
    }
    png_write_end(out.png, nullptr);
    return std::fflush(out.file) == 0 && !std::ferror(out.file);
}

}  // namespace

// Written under a temporary name and renamed when complete, so that no frame name ever
// holds a partial image (a full disk, a stopped run).
bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgbTopFirst) {
    if (width <= 0 || height <= 0 || rgbTopFirst.size() < static_cast<std::size_t>(width) * height * 3) return false;
    std::string partial = path + ".part";
    PngFile out;
    out.file = std::fopen(partial.c_str(), "wb");
    if (!out.file) return false;
    bool written = encodePng(out, width, height, rgbTopFirst) && out.close();
    if (written && std::rename(partial.c_str(), path.c_str()) == 0) return true;
    std::remove(partial.c_str());
    return false;
}

