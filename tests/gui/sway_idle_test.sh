#!/usr/bin/env bash
# The idle launcher in a headless sway session (sway 1.7: org_kde_kwin_idle), with the real
# show: after the idle time the show covers the whole output, letterboxed; a key typed with
# wtype ends it; the next idle period starts it again; a view holding an idle inhibitor
# (sway's inhibit_idle) keeps it off until that view goes; SIGTERM to the launcher ends the
# show too. Prints the time from the idle event to the first frame on screen.
# sway refuses to run as root: as root, the test makes an ordinary user and runs as that.
# Usage: sway_idle_test.sh VOIDRIFT PLAIN_WINDOW
set -euo pipefail
voidrift=$(realpath "$1") plain_window=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/idle_session.sh"
as_test_user "$here/sway_idle_test.sh" "$voidrift" "$plain_window"

WORK=$(mktemp -d)
source "$here/sway.sh"
launcher="" keyboard="" inhibitor=""
cleanup() {
  for pid in $launcher $inhibitor $keyboard; do kill "$pid" 2>/dev/null || true; done
  stop_sway
  [ -n "${KEEP_WORK:-}" ] && echo "kept $WORK" || rm -rf "$WORK"
}
trap cleanup EXIT
export HOME="$WORK/home" SDL_AUDIODRIVER=dummy
unset XDG_CONFIG_HOME VOIDRIFT_CONFIG SDL_VIDEODRIVER
mkdir -p "$HOME"
# A magenta desktop: any of it left on screen is a gap in the show's cover.
start_sway 1024x768 "#ff00ff"

# A session always has a keyboard. Without one, the seat offers no keyboard until wtype's
# own virtual keyboard appears, and wtype's key then comes before the show can have bound
# that keyboard: the key is lost. This one stays for the whole test, as a real one would.
wtype -s 3600000 &
keyboard=$!

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# The fraction of the screen still showing the magenta desktop, and the brightest value in
# the letterbox bars (96 rows at the top and the bottom of 768), both 0..1.
magenta() { convert "$1" -fuzz 2% -fill white -opaque "#ff00ff" -fill black +opaque white -format "%[fx:mean]" info:; }
bars() {
  local top bottom
  top=$(convert "$1" -crop 1024x92+0+0 +repage -format "%[fx:maxima]" info:)
  bottom=$(convert "$1" -crop 1024x92+0+676 +repage -format "%[fx:maxima]" info:)
  awk -v a="$top" -v b="$bottom" 'BEGIN { print (a > b ? a : b) }'
}
lit() { convert "$1" -crop 1024x560+0+104 +repage -format "%[fx:mean]" info:; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
# wait_show SECONDS: until the screen shows the show (no desktop, lit middle); sets
# covered_at to when the desktop was first gone.
wait_show() {
  covered_at=""
  for _ in $(seq $(($1 * 5))); do
    grim "$WORK/screen.png" 2>/dev/null || true
    [ -n "${KEEP_WORK:-}" ] && cp "$WORK/screen.png" "$WORK/shot-$(now_ms).png"
    if [ -s "$WORK/screen.png" ] && below "$(magenta "$WORK/screen.png")" 0.001; then
      covered_at=${covered_at:-$(now_ms)}
      ! below "$(lit "$WORK/screen.png")" 0.02 && return 0
    fi
    sleep 0.2
  done
  fail "the show is not on the screen after $1 s"
}
# wait_desktop SECONDS: until the desktop is back.
wait_desktop() {
  for _ in $(seq $(($1 * 5))); do
    grim "$WORK/screen.png" 2>/dev/null || true
    [ -s "$WORK/screen.png" ] && ! below "$(magenta "$WORK/screen.png")" 0.9 && return 0
    sleep 0.2
  done
  fail "the desktop is not back after $1 s"
}

wait_desktop 30
# A small floating view that will hold an idle inhibitor later (sway's inhibit_idle needs
# a view, and one that no key ends). SDL would hold an inhibitor of its own for it.
SDL_VIDEODRIVER=wayland SDL_VIDEO_ALLOW_SCREENSAVER=1 "$plain_window" &
inhibitor=$!
for _ in $(seq 600); do
  swaymsg "[pid=$inhibitor] floating enable, move position 0 0" >/dev/null 2>&1 && break
  sleep 0.1
done
swaymsg "[pid=$inhibitor] floating enable, move position 0 0" >/dev/null || fail "the view for the inhibitor did not come"
wait_desktop 30

"$voidrift" --idle --idle-seconds 2 --verbose --show-argument=--no-loading --show-argument=--no-music \
  --show-argument=--no-clock 2>"$WORK/launcher.err" &
launcher=$!
wait_notes "watching org_kde_kwin_idle" 1 30
wait_notes "starting the show" 1 30
idle_at=$(now_ms)
wait_show 60
echo "idle event to the show's window over the desktop: about $((covered_at - idle_at)) ms," \
  "to the lit show: about $(($(now_ms) - idle_at)) ms (grim's own time included)"
below "$(bars "$WORK/screen.png")" 0.05 || fail "lit pixels in the letterbox bars"
cp "$WORK/screen.png" "$WORK/show.png"

# A key ends it; the next idle period starts it again.
wtype -k space
wait_notes "the show has ended" 1 30
wait_desktop 10
wait_notes "starting the show" 2 30
wait_show 60

# The view with the inhibitor holds it from now: no show over several idle periods, keys
# or not; once it is released, the next idle period starts the show.
swaymsg "[pid=$inhibitor] inhibit_idle open" >/dev/null || fail "sway refused the inhibitor"
wtype -k space
wait_notes "the show has ended" 2 30
sleep 4
wtype -k space
sleep 4
[ "$(notes "starting the show")" -eq 2 ] || fail "the show started while a view held an idle inhibitor"
# sway 1.7 keeps the idle timers stopped when a view goes with its inhibitor, and after a
# release it waits for activity before it counts again: released, then a key.
swaymsg "[pid=$inhibitor] inhibit_idle none" >/dev/null
wtype -k space
wait_notes "starting the show" 3 30
wait_show 60

# SIGTERM: the launcher and its show end, and no show is left behind.
stop_launcher
wait_desktop 10
echo PASS
