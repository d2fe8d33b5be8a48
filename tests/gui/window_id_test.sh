#!/usr/bin/env bash
# Hack mode in windows that another program owns, under Xvfb: two instances side by side
# (the daemon runs one per monitor; only one plays the music), one window resized while the show runs (the picture
# follows), one destroyed (its hack ends), the other stopped by SIGTERM (promptly, cleanly).
# Usage: window_id_test.sh VOIDRIFT X11_TEST_WINDOW DATA_DIR
set -euo pipefail
voidrift=$1 helper=$2 data=$3
WORK=$(mktemp -d)
source "$(dirname "$0")/xvfb.sh"
cleanup() {
  for pid in ${HACKS:-} ${HELPERS:-}; do kill "$pid" 2>/dev/null || true; done
  exec 4>&- 5>&- 2>/dev/null || true
  stop_xvfb
  [ -n "${KEEP_WORK:-}" ] && echo "kept $WORK" || rm -rf "$WORK"
}
trap cleanup EXIT
start_xvfb 1024x768

printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=1\nShowClock=1\nPath=%s\n' "$data" >"$WORK/settings.ini"
mkdir -m 700 "$WORK/run"
export VOIDRIFT_CONFIG="$WORK/settings.ini" SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$WORK/run"
unset SDL_VIDEODRIVER XSCREENSAVER_WINDOW

# One test window per hack, driven through a pipe; its answers go to a file. Sets WINDOW_ID.
open_window() {  # name size fd
  mkfifo "$WORK/$1.in"
  "$helper" create "$2" <"$WORK/$1.in" >"$WORK/$1.out" &
  HELPERS="${HELPERS:-} $!"
  eval "exec $3>\"$WORK/$1.in\""
  for _ in $(seq 100); do [ -s "$WORK/$1.out" ] && break; sleep 0.05; done
  WINDOW_ID=$(head -1 "$WORK/$1.out")
}
ask() {  # fd name command: the helper's answer line
  local lines
  lines=$(wc -l <"$WORK/$2.out")
  echo "$3" >&"$1"
  for _ in $(seq 200); do
    [ "$(wc -l <"$WORK/$2.out")" -gt "$lines" ] && break
    sleep 0.05
  done
  tail -1 "$WORK/$2.out"
}
# Snaps until field $4 passes $5: the show's start reads and decodes the data (slow on a
# busy machine), and scene changes fade through black.
snap_until() {  # fd name file field least
  local shot
  for _ in $(seq 60); do
    shot=$(ask "$1" "$2" "snap $3")
    [ "$(field "$shot" "$4")" -gt "$5" ] && break
    sleep 0.5
  done
  echo "$shot"
}
expect_show() {  # description: letterboxed, lit across the view
  local bars left right
  bars=$(field "$1" bars) left=$(field "$1" left) right=$(field "$1" right)
  [ "$bars" -eq 0 ] || fail "lit pixels in the bars: $1"
  [ "$left" -gt 100 ] && [ "$right" -gt 100 ] || fail "the view is not lit on both sides: $1"
}

open_window a 320x240 4
a=$WINDOW_ID
open_window b 320x240+680+0 5
b=$WINDOW_ID
# The daemon names its window in XSCREENSAVER_WINDOW and passes -root; the other is named outright.
XSCREENSAVER_WINDOW=$a "$voidrift" -root --no-loading --seed 3 --no-clock 2>"$WORK/a.err" &
hack_a=$!
"$voidrift" -window-id "$b" --no-loading --seed 5 --no-clock 2>"$WORK/b.err" &
hack_b=$!
HACKS="$hack_a $hack_b"
shot=$(snap_until 4 a "$WORK/a1.png" left 100); echo "window a: $shot"; expect_show "$shot"
shot=$(snap_until 5 b "$WORK/b1.png" left 100); echo "window b: $shot"; expect_show "$shot"
# One soundtrack a session: one hack holds the music lock, the other stays silent (once
# both have read their data).
for _ in $(seq 120); do
  [ "$(cat "$WORK/a.err" "$WORK/b.err" | grep -c "stays silent")" = 1 ] && break
  sleep 0.5
done
[ "$(cat "$WORK/a.err" "$WORK/b.err" | grep -c "stays silent")" = 1 ] || fail "not one silent hack: $(cat "$WORK/a.err" "$WORK/b.err")"
! flock -n "$WORK/run/voidrift-music.lock" true || fail "no hack holds the music lock"

[ "$(ask 4 a "resize 640 400")" = resized ] || fail "the test window did not resize"
shot=$(snap_until 4 a "$WORK/a2.png" right 2000); echo "window a resized: $shot"
[ "$(field "$shot" size)" = 640x400 ] || fail "wrong snapshot size: $shot"
expect_show "$shot"
# Had the picture stayed at 320x240 (GL counts from the bottom left), the window's right
# and upper parts would be dark.
right_half=$(field "$shot" right) upper_half=$(field "$shot" upper)
[ "$right_half" -gt 2000 ] && [ "$upper_half" -gt 2000 ] || fail "the picture did not follow the new size: $shot"

ask 4 a destroy >/dev/null
wait_for_exit "$hack_a" 2 || fail "the hack went on after its window was destroyed"
[ "$ENDED_WITH" -eq 0 ] || fail "the hack ended with status $ENDED_WITH after its window went"

kill -TERM "$hack_b"
wait_for_exit "$hack_b" 2 || fail "the hack did not end within 2 seconds of SIGTERM"
[ "$ENDED_WITH" -eq 0 ] || fail "the hack ended with status $ENDED_WITH on SIGTERM"
HACKS=""
flock -n "$WORK/run/voidrift-music.lock" true || fail "the music lock outlived the hacks"

for name in a b; do
  if [ "$(wc -l <"$WORK/$name.err")" -gt 1 ]; then
    cat "$WORK/$name.err"
    fail "hack $name wrote more than one line on stderr"
  fi
done
echo "PASS"
