# Sourced by the GUI tests: starts Xvfb on a display number it picks itself (other Xvfb
# servers may be running on this machine) and stops it when the test exits.
# Sets DISPLAY and XVFB_PID; needs WORK, a folder of the test's own.
start_xvfb() {
  local size="${1:-1024x768}"
  : >"$WORK/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    sleep 0.1
  done
  [ -s "$WORK/display" ] || { echo "Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }
  export DISPLAY=":$(head -1 "$WORK/display")"
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
}

fail() {
  echo "FAIL: $*"
  exit 1
}

# A description printed by x11_test_window: the value of one field.
field() { sed -n "s/.*\b$2=\([0-9x]*\).*/\1/p" <<<"$1"; }

# Waits up to $2 seconds for process $1 to end; its status in ENDED_WITH.
wait_for_exit() {
  local pid=$1 limit=$2
  for _ in $(seq $((limit * 20))); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; ENDED_WITH=$?; return 0; }
    sleep 0.05
  done
  return 1
}
