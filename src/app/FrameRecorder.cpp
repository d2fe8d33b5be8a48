#include "app/FrameRecorder.h"

#include <GL/gl.h>
#include <png.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>

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

FrameRecorder::FrameRecorder(std::string directory) : directory_(std::move(directory)) {}

bool FrameRecorder::prepare() {
#ifdef SIGXFSZ
    // Past the file size limit a write then fails, and the run says which frame, instead
    // of the process dying without a word.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    std::error_code error;
    std::filesystem::create_directories(directory_, error);
    if (!std::filesystem::is_directory(directory_, error)) {
        std::fprintf(stderr, "voidrift: cannot record into %s\n", directory_.c_str());
        return false;
    }
    return true;
}

std::string FrameRecorder::framePath(unsigned index) const {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05u.png", index);
    return (std::filesystem::path(directory_) / name).string();
}

bool FrameRecorder::recordBackBuffer(int width, int height) {
    std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> bottomFirst(rowBytes * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomFirst.data());
    std::vector<std::uint8_t> topFirst(bottomFirst.size());
    for (int row = 0; row < height; ++row) {
        std::memcpy(topFirst.data() + row * rowBytes, bottomFirst.data() + (height - 1 - row) * rowBytes, rowBytes);
    }
    std::string path = framePath(next_);
    if (!writePng(path, width, height, topFirst)) {
        std::fprintf(stderr, "voidrift: cannot write %s\n", path.c_str());
        return false;
    }
    ++next_;
    return true;
}
