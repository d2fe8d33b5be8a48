#!/usr/bin/env bash
# Cross-builds the Windows screensaver on Debian 12: build-windows/voidrift.scr (one
# statically linked program), build-windows/data.ssd, the setup program
# build-windows/VoidriftSetup.exe (NSIS) and build-windows/voidrift-windows.zip.
#   scripts/build-windows.sh            the program, the Windows unit tests and data.ssd
# Installs the Debian packages it misses, enables Debian's source lists, and builds
# libjpeg-turbo, libogg, libvorbis, zlib, libpng and GoogleTest from Debian's own sources as
# static MinGW libraries into ${VOIDRIFT_WINDOWS_CACHE:-$HOME/.cache/voidrift-mingw},
# which later runs reuse. data.ssd comes from the Linux build (build/data/data.ssd),
# which is built first when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cache="${VOIDRIFT_WINDOWS_CACHE:-$HOME/.cache/voidrift-mingw}"
prefix="$cache/prefix"
jobs="${VOIDRIFT_JOBS:-$(nproc)}"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
host=x86_64-w64-mingw32
# Raised when the way the libraries are built changes, so old caches are rebuilt.
cache_version=1

. scripts/debian-packages.sh

cmake_library() {  # name source-dir cmake-arguments...
  local name=$1 source=$2
  shift 2
  cmake -S "$source" -B "$cache/build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVOIDRIFT_MINGW_PREFIX="$prefix" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
  cmake --build "$cache/build/$name" -j "$jobs" >/dev/null
  cmake --install "$cache/build/$name" >/dev/null
}

build_zlib() {
  local source
  source=$(fetch_source zlib "$cache/src")
  local objects="$cache/build/zlib" unit
  # The library's fifteen files compiled straight: its own build files make a DLL first.
  rm -rf "$objects" && mkdir -p "$objects" "$prefix/include" "$prefix/lib"
  for unit in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
              inftrees trees uncompr zutil; do
    $host-gcc -O2 -c "$source/$unit.c" -o "$objects/$unit.o"
  done
  rm -f "$prefix/lib/libz.a"
  $host-ar rcs "$prefix/lib/libz.a" "$objects"/*.o
  cp "$source/zlib.h" "$source/zconf.h" "$prefix/include/"
}

build_libpng() {
  cmake_library libpng "$(fetch_source libpng1.6 "$cache/src")" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF
}

# Its own install rules take a relative library folder as relative to where cmake runs.
build_libjpeg() {
  cmake_library libjpeg-turbo "$(fetch_source libjpeg-turbo "$cache/src")" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DWITH_SIMD=ON -DCMAKE_INSTALL_LIBDIR="$prefix/lib"
}

build_libogg() { cmake_library libogg "$(fetch_source libogg "$cache/src")" -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF; }

build_libvorbis() { cmake_library libvorbis "$(fetch_source libvorbis "$cache/src")" -DBUILD_TESTING=OFF; }

build_gtest() {
  cmake_library googletest /usr/src/googletest -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=ON
}

# Each library once per cache; a failed build leaves no stamp and is redone next time.
build_once() {
  local name=$1 stamp="$cache/stamps/$1-$cache_version"
  [ -f "$stamp" ] && return 0
  echo "Building $name for Windows into $prefix"
  "build_$name"
  mkdir -p "$cache/stamps" && touch "$stamp"
}

install_missing mingw-w64 cmake ninja-build make dpkg-dev nasm googletest ca-certificates nsis zip
enable_sources
for library in zlib libpng libjpeg libogg libvorbis gtest; do build_once "$library"; done

# The Linux build's mkcontent paints data.ssd and the dialog pictures the resources embed.
if [ ! -f build/data/data.ssd ] || [ ! -f build/pictures/preview.bmp ]; then
  echo "Building data.ssd and the dialog pictures with the Linux build"
  VOIDRIFT_TARGETS="content dialog_pictures" scripts/setup.sh build
fi

# A build folder made against another library cache would keep that cache's library paths.
if [ -f build-windows/CMakeCache.txt ] &&
   ! grep -qxF "VOIDRIFT_MINGW_PREFIX:PATH=$prefix" build-windows/CMakeCache.txt; then
  rm -f build-windows/CMakeCache.txt
fi
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DVOIDRIFT_MINGW_PREFIX="$prefix" -DVOIDRIFT_BENCH=OFF -DVOIDRIFT_CONTENT=OFF \
  -DVOIDRIFT_PICTURE_DIR="$root/build/pictures"
cmake --build build-windows -j "$jobs"
cp build/data/data.ssd build-windows/data.ssd
# The setup program, and a zip of the two files for those who install by hand.
makensis -V2 -DFILES="$root/build-windows" -DOUTFILE="$root/build-windows/VoidriftSetup.exe" \
  packaging/windows/voidrift.nsi
rm -f build-windows/voidrift-windows.zip
(cd build-windows && zip -q voidrift-windows.zip voidrift.scr data.ssd voidrift.html)
echo "Windows files: build-windows/voidrift.scr build-windows/data.ssd build-windows/VoidriftSetup.exe" \
  "build-windows/voidrift-windows.zip"
