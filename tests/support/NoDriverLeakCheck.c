/* Linked into the test binaries that drive the GL driver. Mesa's llvmpipe allocates from
   its JIT-compiled code, which the leak checker cannot attribute to any library, so these
   binaries run without the leak check; every other sanitizer check stays on. */
const char* __asan_default_options(void) { return "detect_leaks=0"; }
