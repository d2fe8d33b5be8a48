/* Counts glXSwapBuffers and eglSwapBuffers calls of a program that links libGL directly and prints its
 * frame rate when the program ends (also on SIGTERM/SIGINT, as `timeout` sends).
 * Build: cc -shared -fPIC -O2 -o swap_counter.so swap_counter.c -ldl
 * Use:   LD_PRELOAD=./swap_counter.so timeout 20 some-gl-program */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

typedef void (*SwapFn)(void* display, unsigned long drawable);

static long frames;
static struct timespec first;

static double secondsSince(const struct timespec* t) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)(now.tv_sec - t->tv_sec) + (double)(now.tv_nsec - t->tv_nsec) / 1e9;
}

static void report(void) {
    if (frames > 1) {
        double s = secondsSince(&first);
        fprintf(stderr, "swap_counter: %ld frames in %.2f s = %.1f fps\n", frames - 1, s, (frames - 1) / s);
    }
}

static void onSignal(int sig) {
    report();
    signal(sig, SIG_DFL);
    _exit(0);
}

__attribute__((constructor)) static void install(void) {
    signal(SIGTERM, onSignal);
    signal(SIGINT, onSignal);
    atexit(report);
}

void glXSwapBuffers(void* display, unsigned long drawable) {
    static SwapFn real;
    if (!real) real = (SwapFn)dlsym(RTLD_NEXT, "glXSwapBuffers");
    if (frames == 0) clock_gettime(CLOCK_MONOTONIC, &first);
    ++frames;
    real(display, drawable);
}

/* Newer hacks draw through EGL. */
typedef unsigned (*EglSwapFn)(void* display, void* surface);

unsigned eglSwapBuffers(void* display, void* surface) {
    static EglSwapFn real;
    if (!real) real = (EglSwapFn)dlsym(RTLD_NEXT, "eglSwapBuffers");
    if (frames == 0) clock_gettime(CLOCK_MONOTONIC, &first);
    ++frames;
    return real(display, surface);
}
