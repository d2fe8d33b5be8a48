#!/usr/bin/env bash
# Takes the README's screenshot of the configuration dialog under an Xvfb of its own, with
# the settings a fresh install has.
#   scripts/screenshots.sh [BUILD_DIR]     (default build/; writes docs/config-dialog.png)
cd "$(dirname "$0")/.."
root="$PWD"
build="${1:-build}"
source tests/gui/session.sh
export VOIDRIFT_CONFIG="$WORK/settings.ini"
start_xvfb 1280x1024
"$build/src/app/voidrift" /c &
started_pids+=($!)
window="$(find_window "Voidrift 3D ScreenSaver Configuration")"
[ -n "$window" ] || fail "the dialog did not open"
sleep 1
import -window "$window" "$root/docs/config-dialog.png"
xdotool windowfocus --sync "$window" key Escape
echo "wrote docs/config-dialog.png"
