#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures
# and builds. Usage: scripts/setup.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ pkg-config
  libsdl2-dev libgl-dev libgles-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
  libjpeg62-turbo-dev libpng-dev libvorbis-dev libogg-dev
  libfreetype-dev fonts-dejavu-core
  libgtest-dev libbenchmark-dev zlib1g-dev libbz2-dev
  libx11-dev libxext-dev xscreensaver xscreensaver-gl procps dpkg-dev
  clang libclang-rt-14-dev xvfb xauth gzip bzip2
  libgtk-3-dev xdotool imagemagick x11-utils
  libwayland-dev wayland-protocols plasma-wayland-protocols libxss-dev libsystemd-dev libxkbcommon-dev
  sway swaybg grim wtype x11-xserver-utils mutter dbus-daemon
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq "${missing[@]}"
fi

build_dir="${1:-build}"
shift || true
jobs="${VOIDRIFT_JOBS:-$(nproc)}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${VOIDRIFT_BUILD_TYPE:-Release}" "$@"
# VOIDRIFT_TARGETS limits the build to the named targets.
cmake --build "$build_dir" -j "$jobs" ${VOIDRIFT_TARGETS:+--target $VOIDRIFT_TARGETS}
