#!/usr/bin/env bash
# The .deb as a user gets it: built with CPack, installed with apt-get, and the installed
# hack plays three frames with no settings file, finding its data by itself. The package
# is purged again on the way out, so the test can run again. Needs root (or sudo).
# Usage: deb_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
work=$(mktemp -d)
chmod 755 "$work"
cleanup() {
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 purge -y -qq voidrift >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.log 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/voidrift_*_amd64.deb) || fail "no voidrift_VERSION_amd64.deb"
echo "built $(basename "$deb"), depends: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -c "$deb" | grep -q "/imppack$" && fail "the package holds the archive tool"
dpkg-deb -f "$deb" Depends | grep -q libsdl2 || fail "the package does not depend on SDL2: $(dpkg-deb -f "$deb" Depends)"
DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq "$deb" >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log"; fail "apt-get install"; }

for file in /usr/libexec/xscreensaver/voidrift /usr/share/xscreensaver/config/voidrift.xml \
            /usr/share/applications/screensavers/voidrift.desktop /usr/share/voidrift/data.ssd /usr/share/voidrift/voidrift.html \
            /usr/bin/voidrift /usr/lib/voidrift/voidrift-idle /usr/lib/systemd/user/voidrift-idle.service; do
  [ -e "$file" ] || fail "$file is not installed"
done

# A user with no settings at all, no display: the hack records offscreen.
mkdir "$work/home"
(cd / && env -i PATH=/usr/bin:/bin HOME="$work/home" SDL_AUDIODRIVER=dummy \
   /usr/libexec/xscreensaver/voidrift --frames 3 --record "$work/frames" --no-loading --size 320x240 >"$work/run.log" 2>&1) \
  || { cat "$work/run.log"; fail "the installed hack did not run"; }
[ "$(ls "$work/frames" | wc -l)" -eq 3 ] || fail "the installed hack did not write 3 frames"
(cd / && env -i PATH=/usr/bin:/bin HOME="$work/home" /usr/libexec/xscreensaver/voidrift --check-data >"$work/check.log" 2>&1) \
  || { cat "$work/check.log"; fail "the installed hack does not find its data"; }
voidrift --version | grep -q "^voidrift " || fail "bin/voidrift does not run the program"
grep -qx "ExecStart=/usr/bin/voidrift --idle" /usr/lib/systemd/user/voidrift-idle.service \
  || fail "the user unit does not start /usr/bin/voidrift --idle"
# The autostart entry is the user's own choice, and the installed launcher writes it.
HOME="$work/home" voidrift --idle --autostart on >/dev/null || fail "voidrift --idle --autostart on failed"
grep -qx "Exec=/usr/libexec/xscreensaver/voidrift --idle" "$work/home/.config/autostart/voidrift-idle.desktop" \
  || fail "the autostart entry does not start the installed program"
HOME="$work/home" voidrift --idle --autostart off && [ ! -e "$work/home/.config/autostart/voidrift-idle.desktop" ] \
  || fail "voidrift --idle --autostart off left the entry"
echo PASS
