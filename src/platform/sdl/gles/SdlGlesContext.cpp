// GLES 3 under the fixed-function layer: the layer takes the context once it is current,
// presents its frame before each swap and answers for the extension entry points.
#include "gles/GlesLayer.h"
#include "platform/Platform.h"
#include "platform/sdl/SdlContext.h"

namespace platform {

namespace {

// The window's size as the platform knows it: SDL hears nothing of a foreign window's
// resizes, the backend's watcher does.
void drawableSize(SDL_Window*, int& width, int& height) { clientSize(width, height); }

}  // namespace

void requestContextApi() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
}

void contextMade(SDL_Window* window) {
    int width = 0, height = 0;
    drawableSize(window, width, height);
    gles::attachContext(width, height);
}

void beforeSwap(SDL_Window* window) {
    int width = 0, height = 0;
    drawableSize(window, width, height);
    gles::presentFrame(width, height);
}

void contextClosing() { gles::detachContext(); }
void* contextProcAddress(const char* name) { return gles::procAddress(name); }
const char* contextRendererName() { return "gles"; }

}  // namespace platform
