#!/usr/bin/env bash
# GNOME's path: the idle launcher under a real headless mutter (Wayland, a virtual monitor)
# on a session bus of its own. mutter offers neither Wayland idle protocol, so the launcher
# takes org.gnome.Mutter.IdleMonitor: its idle watch starts the show, which keeps running;
# SIGTERM to the launcher ends the show too. (Nothing here types into mutter, so the show's
# own end by a key is left to the sway and X11 tests.) Runs as an ordinary user, as the
# other session tests do.
# Usage: mutter_idle_test.sh VOIDRIFT
set -euo pipefail
voidrift=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/idle_session.sh"
as_test_user "$here/mutter_idle_test.sh" "$voidrift"
if [ -z "${VOIDRIFT_IN_BUS:-}" ]; then
  VOIDRIFT_IN_BUS=1 exec dbus-run-session -- "$0" "$voidrift"
fi

WORK=$(mktemp -d)
mutter_pid="" launcher=""
cleanup() {
  for pid in $launcher $mutter_pid; do kill "$pid" 2>/dev/null || true; done
  [ -n "${KEEP_WORK:-}" ] && echo "kept $WORK" || rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "--- mutter"; tail -20 "$WORK/mutter.log" 2>/dev/null || true
  session_fail "$@"
}
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run" SDL_AUDIODRIVER=dummy
unset XDG_CONFIG_HOME VOIDRIFT_CONFIG SDL_VIDEODRIVER DISPLAY WAYLAND_DISPLAY
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

mutter --headless --wayland --no-x11 --virtual-monitor 1024x768 --wayland-display voidrift-test-0 \
  >"$WORK/mutter.log" 2>&1 &
mutter_pid=$!
for _ in $(seq 600); do
  [ -S "$XDG_RUNTIME_DIR/voidrift-test-0" ] && busctl --user status org.gnome.Mutter.IdleMonitor >/dev/null 2>&1 && break
  kill -0 "$mutter_pid" 2>/dev/null || fail "mutter did not start"
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/voidrift-test-0" ] || fail "mutter made no Wayland socket"
export WAYLAND_DISPLAY=voidrift-test-0


"$voidrift" --idle --idle-seconds 2 --verbose --show-argument=--no-music 2>"$WORK/launcher.err" &
launcher=$!
wait_notes "watching org.gnome.Mutter.IdleMonitor" 1 30
wait_notes "starting the show" 1 30
show=""
for _ in $(seq 100); do
  show=$(pgrep -u "$(id -u)" -f -- "voidrift /s" | head -1) || true
  [ -n "$show" ] && break
  sleep 0.1
done
[ -n "$show" ] || fail "no show process"
sleep 3
kill -0 "$show" 2>/dev/null || fail "the show did not keep running"
[ "$(notes "the show has ended")" -eq 0 ] || fail "the show ended by itself"

stop_launcher
echo PASS
