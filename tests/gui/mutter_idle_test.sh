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
test_user=voidrift-test

if [ "$(id -u)" -eq 0 ]; then
  id "$test_user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$test_user"
  exec runuser -u "$test_user" -- env PATH="$PATH" ASAN_OPTIONS="${ASAN_OPTIONS:-}" "$here/mutter_idle_test.sh" "$voidrift"
fi
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
  echo "FAIL: $*"
  echo "--- launcher and show"; cat "$WORK/launcher.err" 2>/dev/null || true
  echo "--- mutter"; tail -20 "$WORK/mutter.log" 2>/dev/null || true
  exit 1
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

notes() { grep -c "$1" "$WORK/launcher.err" 2>/dev/null || true; }
wait_notes() {
  for _ in $(seq $(($3 * 20))); do
    [ "$(notes "$1")" -ge "$2" ] && return 0
    sleep 0.05
  done
  fail "the launcher did not say '$1' $2 times within $3 s"
}

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

kill -TERM "$launcher"
status=0
wait "$launcher" || status=$?
launcher=""
[ "$status" -eq 0 ] || fail "the launcher ended with $status"
kill -0 "$show" 2>/dev/null && fail "the show outlived its launcher"
echo PASS
