#!/usr/bin/env bash
# The idle launcher on plain X11 (Xvfb, no screensaver daemon): the server's screen-saver
# timer (MIT-SCREEN-SAVER) starts the show after the idle time, `xdotool key` ends it, the
# next idle period starts it again; a player that resets the timer (XResetScreenSaver, as
# `xset s reset` does) holds it off; SIGTERM ends the launcher and its show and gives the
# server its timer settings back. With the XScreenSaver daemon running, the launcher says
# so and stays out. The daemon refuses to run as root: as root, the test makes an ordinary
# user and runs as that.
# Usage: x11_idle_test.sh VOIDRIFT
set -euo pipefail
voidrift=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/idle_session.sh"
as_test_user "$here/x11_idle_test.sh" "$voidrift"

WORK=$(mktemp -d)
source "$here/xvfb.sh"
fail() { session_fail "$@"; }  # with the launcher's notes
launcher="" daemon=""
cleanup() {
  for pid in $launcher $daemon; do kill "$pid" 2>/dev/null || true; done
  stop_xvfb
  [ -n "${KEEP_WORK:-}" ] && echo "kept $WORK" || rm -rf "$WORK"
}
trap cleanup EXIT
export HOME="$WORK/home" SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$WORK/run"
unset XDG_CONFIG_HOME VOIDRIFT_CONFIG SDL_VIDEODRIVER WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_xvfb 800x600

# wait_window SECONDS: until the show's window is on the screen.
wait_window() {
  for _ in $(seq $(($1 * 10))); do
    id=$(xwininfo -root -tree | grep -F '"Voidrift 3D Screensaver": (' | awk '{ print $1 }' | head -n1) || true
    [ -n "$id" ] && xwininfo -id "$id" | grep -q IsViewable && return 0
    sleep 0.1
  done
  fail "no show window within $1 s"
}
timer_settings() { xset q | sed -n '/Screen Saver:/,/timeout:/p'; }

before=$(timer_settings)
"$voidrift" --idle --idle-seconds 2 --verbose --show-argument=--no-loading --show-argument=--no-music \
  2>"$WORK/launcher.err" &
launcher=$!
wait_notes "watching MIT-SCREEN-SAVER" 1 30
wait_notes "starting the show" 1 30
wait_window 60
sleep 1
xdotool key space
wait_notes "the show has ended" 1 30
wait_notes "starting the show" 2 30
wait_window 60
sleep 1
xdotool key space
wait_notes "the show has ended" 2 30

# A player resetting the timer now and then: no show over several idle periods.
for _ in $(seq 16); do
  xset s reset
  sleep 0.5
done
[ "$(notes "starting the show")" -eq 2 ] || fail "the show started while the timer was being reset"
wait_notes "starting the show" 3 30
wait_window 60

stop_launcher
[ "$(timer_settings)" = "$before" ] || fail "the server's screen-saver settings were not given back: $(timer_settings)"

# The XScreenSaver daemon owns the display: the launcher says so and leaves.
printf 'timeout: 1:00:00\nlock: False\nsplash: False\n' >"$HOME/.xscreensaver"
xscreensaver --no-splash >/dev/null 2>&1 &
daemon=$!
for _ in $(seq 400); do
  xscreensaver-command -time >/dev/null 2>&1 && break
  sleep 0.1
done
status=0
timeout 30 "$voidrift" --idle --idle-seconds 2 2>"$WORK/daemon.err" || status=$?
[ "$status" -eq 0 ] || fail "the launcher ended with $status beside the daemon"
grep -q "XScreenSaver runs on this display" "$WORK/daemon.err" || fail "the launcher did not say why it left: $(cat "$WORK/daemon.err")"
echo PASS
