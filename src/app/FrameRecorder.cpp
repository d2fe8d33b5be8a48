#include "app/FrameRecorder.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

FrameRecorder::FrameRecorder(std::string directory) : directory_(std::move(directory)) {}

bool FrameRecorder::prepare() {
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
