#include "support/OffscreenGL.h"

#include <SDL.h>
#include <GL/gl.h>
#include <cstdlib>

OffscreenGL::OffscreenGL(int width, int height) : width_(width), height_(height) {
    if (!std::getenv("SDL_VIDEODRIVER")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window = SDL_CreateWindow("test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) return;
    window_ = window;
    context_ = SDL_GL_CreateContext(window);
    if (context_) {
        SDL_GL_MakeCurrent(window, static_cast<SDL_GLContext>(context_));
        glViewport(0, 0, width, height);
    }
}

OffscreenGL::~OffscreenGL() {
    if (context_) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
    if (window_) SDL_DestroyWindow(static_cast<SDL_Window*>(window_));
    // The video subsystem stays up until the process ends: shutting it down unloads the
    // GL driver, and the leak checker could then no longer tell the driver's leaks from ours.
}

std::vector<unsigned char> OffscreenGL::readPixels() const {
    std::vector<unsigned char> pixels(static_cast<size_t>(width_) * height_ * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void* OffscreenGL::procAddress(const char* name) const { return SDL_GL_GetProcAddress(name); }
