// The fixed-function layer's own entry points, for the context owner (a platform backend):
// the show itself only sees the GL 1.1 names of include/GL/gl.h.
//
// The layer draws into its own framebuffer (colour and a depth texture) so the depth a flare
// asks for can be read back, which GLES and WebGL cannot do for a window's framebuffer;
// presentFrame copies it to the window before each swap.
#pragma once

namespace gles {

// After the context is made current; the framebuffer follows the window's size.
void attachContext(int width, int height);
// Copies the frame to the window's framebuffer; call just before the swap.
void presentFrame(int width, int height);
// Releases the layer's GL objects while the context is still current.
void detachContext();
// The layer's function for a GL extension entry point the show asks for by name.
void* procAddress(const char* name);

}  // namespace gles
