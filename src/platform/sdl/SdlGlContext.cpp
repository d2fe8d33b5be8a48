// Desktop GL: SDL's defaults, the driver's own entry points.
#include "platform/sdl/SdlContext.h"

namespace platform {

void requestContextApi() {}
void contextMade(SDL_Window*) {}
void beforeSwap(SDL_Window*) {}
void contextClosing() {}
void* contextProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }
const char* contextRendererName() { return "gl"; }

}  // namespace platform
