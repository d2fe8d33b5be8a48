// A hidden OpenGL context for tests: SDL2's offscreen video driver over EGL on Mesa's
// software renderer, so it needs no display. One per test process is enough.
#pragma once

#include <vector>

class OffscreenGL {
public:
    // Creates a double-buffered context (32-bit colour, 24 depth, 8 stencil) of the given size.
    OffscreenGL(int width = 320, int height = 240);
    ~OffscreenGL();
    OffscreenGL(const OffscreenGL&) = delete;
    OffscreenGL& operator=(const OffscreenGL&) = delete;

    bool ok() const { return window_ != nullptr && context_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    // RGBA bytes of the back buffer, bottom row first.
    std::vector<unsigned char> readPixels() const;
    void* procAddress(const char* name) const;

private:
    void* window_ = nullptr;
    void* context_ = nullptr;
    int width_;
    int height_;
};
