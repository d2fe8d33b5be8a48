// The GL flavour of the SDL backend's context, chosen by the build: desktop GL for the
// GL 1.1 renderer (SdlGlContext.cpp), GLES 3 under the fixed-function layer
// (gles/SdlGlesContext.cpp).
#pragma once

#include <SDL.h>

namespace platform {

// Attributes asked for before a window is made.
void requestContextApi();
// The context is current in `window`.
void contextMade(SDL_Window* window);
void beforeSwap(SDL_Window* window);
// The context is about to be deleted (still current).
void contextClosing();
void* contextProcAddress(const char* name);
const char* contextRendererName();

}  // namespace platform
