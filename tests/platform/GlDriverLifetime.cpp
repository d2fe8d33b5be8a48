// The offscreen video driver loads EGL when the video layer starts and unloads it when
// the last user stops; leak reports from inside an unloaded driver cannot name it, so the
// sanitizer run could not tell the driver's allocations from ours. Keeping the library
// mapped for the whole process keeps those reports attributable.
#include <dlfcn.h>

namespace {

struct KeepEglMapped {
    KeepEglMapped() {
        dlopen("libEGL.so.1", RTLD_NOW | RTLD_NODELETE);
        dlopen("libEGL_mesa.so.0", RTLD_NOW | RTLD_NODELETE);
        dlopen("libglapi.so.0", RTLD_NOW | RTLD_NODELETE);
        dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_NODELETE);
    }
} keepEglMapped;

}  // namespace
