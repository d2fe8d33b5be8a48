/* Linked into every test binary that drives the GL driver. */
#include <dlfcn.h>

/* Mesa's llvmpipe allocates from its JIT-compiled code, which the leak checker cannot
   attribute to any library, so these binaries run without the leak check; every other
   sanitizer check stays on. */
const char* __asan_default_options(void) { return "detect_leaks=0"; }

/* The offscreen video driver loads EGL and the GL driver when the video layer starts and
   unloads them when the last user stops. Keeping them mapped for the whole process keeps
   extension entry points fetched by one test valid in the next. */
__attribute__((constructor)) static void keepGlDriverMapped(void) {
    dlopen("libEGL.so.1", RTLD_NOW | RTLD_NODELETE);
    dlopen("libEGL_mesa.so.0", RTLD_NOW | RTLD_NODELETE);
    dlopen("libglapi.so.0", RTLD_NOW | RTLD_NODELETE);
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_NODELETE);
}
