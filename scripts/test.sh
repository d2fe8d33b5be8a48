#!/usr/bin/env bash
# Sets up, builds and runs every test.
#   scripts/test.sh             Release build in build/, all tests, then the .deb built,
#                               installed and purged again, the web page in headless Chromium,
#                               then the Windows build under Wine
#   scripts/test.sh --sanitize  the same under AddressSanitizer + UndefinedBehaviorSanitizer in build-asan/
#   scripts/test.sh --fuzz SEC  builds the libFuzzer targets with clang and runs each for SEC seconds
set -euo pipefail
cd "$(dirname "$0")/.."
export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-offscreen}" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

case "${1:-}" in
  --sanitize)
    VOIDRIFT_BUILD_TYPE=RelWithDebInfo scripts/setup.sh build-asan -DVOIDRIFT_SANITIZE=ON -DVOIDRIFT_BENCH=OFF
    export ASAN_OPTIONS="abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
    ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
    ;;
  --fuzz)
    seconds="${2:-60}"
    CC=clang CXX=clang++ scripts/setup.sh build-fuzz -DVOIDRIFT_FUZZ=ON -DVOIDRIFT_TESTS=OFF -DVOIDRIFT_BENCH=OFF -DVOIDRIFT_CONTENT=OFF
    tests/fuzz/run.sh build-fuzz "$seconds"
    ;;
  *)
    scripts/setup.sh build
    ctest --test-dir build --output-on-failure -j "$(nproc)"
    # Installs the .deb on this machine (and purges it again), so it is not a ctest test.
    tests/gui/deb_test.sh build
    # The web page: built with Emscripten, played in headless Chromium.
    scripts/build-web.sh
    tests/web/web_page_test.sh build-web
    scripts/test-windows.sh
    ;;
esac
