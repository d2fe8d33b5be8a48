# Sourced by the Wayland tests: a headless sway of the test's own (one output, no input
# devices, software rendering), stopped when the test exits. Needs WORK, a folder of the
# test's own, and an ordinary user (sway refuses to run as root).
# Sets WAYLAND_DISPLAY, SWAYSOCK, XDG_RUNTIME_DIR and SWAY_PID.
# start_sway [WIDTHxHEIGHT [BACKGROUND]]: the background (a colour such as "#ff00ff") is
# drawn by swaybg, which comes some time after sway.
start_sway() {
  local size="${1:-1024x768}" background="${2:-}"
  export XDG_RUNTIME_DIR="$WORK/run"
  mkdir -p "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  cat >"$WORK/sway.config" <<CONFIG
output HEADLESS-1 resolution $size position 0 0 ${background:+bg $background solid_color}
default_border none
default_floating_border none
focus_follows_mouse no
CONFIG
  unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$WORK/sway.config" >"$WORK/sway.log" 2>&1 &
  SWAY_PID=$!
  local socket=""
  for _ in $(seq 300); do
    socket=$(cd "$XDG_RUNTIME_DIR" && ls wayland-[0-9] 2>/dev/null | head -1) || true
    SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -1) || true
    [ -n "$socket" ] && [ -n "$SWAYSOCK" ] && swaymsg -s "$SWAYSOCK" -t get_outputs >/dev/null 2>&1 && break
    kill -0 "$SWAY_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$socket" ] || [ -z "$SWAYSOCK" ]; then
    echo "sway did not start"
    cat "$WORK/sway.log"
    exit 1
  fi
  export WAYLAND_DISPLAY="$socket" SWAYSOCK
}

stop_sway() {
  [ -n "${SWAY_PID:-}" ] && kill "$SWAY_PID" 2>/dev/null && wait "$SWAY_PID" 2>/dev/null
  SWAY_PID=""
}
