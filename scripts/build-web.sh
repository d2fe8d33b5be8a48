#!/usr/bin/env bash
# Builds the show as a web page: build-web/index.html, voidrift.js, voidrift.wasm and
# data.ssd, static files any web server can serve (python3 -m http.server in build-web/).
# Installs Debian's emscripten and what it needs, enables Debian's source lists, and
# builds libjpeg-turbo from Debian's source package with emcc into
# ${VOIDRIFT_WEB_CACHE:-$HOME/.cache/voidrift-web}, which later runs reuse (emscripten's
# own ports would be downloaded from the internet). data.ssd comes from the Linux build
# (build/data/data.ssd), which is built first when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cache="${VOIDRIFT_WEB_CACHE:-$HOME/.cache/voidrift-web}"
prefix="$cache/prefix"
out="${VOIDRIFT_WEB_OUT:-$root/build-web}"
jobs="${VOIDRIFT_JOBS:-$(nproc)}"
# Raised when the way the library is built changes, so old caches are rebuilt.
cache_version=1

. scripts/debian-packages.sh

# Debian's emscripten runs offline when node finds Debian's own modules.
export NODE_PATH=/usr/share/nodejs

# size_t is 4 bytes in wasm32; the library's own size check misreads emcc's output.
build_libjpeg() {
  local source
  source=$(fetch_source libjpeg-turbo "$cache/src")
  rm -rf "$cache/build/libjpeg-turbo"
  emcmake cmake -S "$source" -B "$cache/build/libjpeg-turbo" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR="$prefix/lib" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DWITH_SIMD=OFF -DSIZE_T=4 >/dev/null
  cmake --build "$cache/build/libjpeg-turbo" -j "$jobs" --target jpeg-static >/dev/null
  mkdir -p "$prefix/lib" "$prefix/include"
  cp "$cache/build/libjpeg-turbo/libjpeg.a" "$prefix/lib/"
  cp "$source/jpeglib.h" "$source/jmorecfg.h" "$source/jerror.h" "$cache/build/libjpeg-turbo/jconfig.h" "$prefix/include/"
}

# Chromium and ImageMagick for the page's test (tests/web/web_page_test.sh).
install_missing emscripten nodejs cmake ninja-build dpkg-dev python3 chromium imagemagick
stamp="$cache/stamps/libjpeg-$cache_version"
if [ ! -f "$stamp" ]; then
  enable_sources
  echo "Building libjpeg-turbo with emcc into $prefix"
  build_libjpeg
  mkdir -p "$cache/stamps" && touch "$stamp"
fi

if [ ! -f build/data/data.ssd ]; then
  echo "Building data.ssd with the Linux build"
  VOIDRIFT_TARGETS=content scripts/setup.sh build
fi

emcmake cmake -S . -B build-web-obj -G Ninja -DCMAKE_BUILD_TYPE=Release -DVOIDRIFT_WEB_PREFIX="$prefix" \
  -DVOIDRIFT_TESTS=OFF -DVOIDRIFT_BENCH=OFF -DVOIDRIFT_CONTENT=OFF >/dev/null
cmake --build build-web-obj -j "$jobs" --target voidrift_web
mkdir -p "$out"
cp build-web-obj/voidrift.js build-web-obj/voidrift.wasm "$out/"
cp web/index.html web/page.js "$out/"
cp build/data/data.ssd "$out/"
echo "The page is in $out: serve it with (cd $out && python3 -m http.server) and open http://localhost:8000/"
