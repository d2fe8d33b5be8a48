# Sourced by the dialog and preview tests: an Xvfb of their own (xvfb.sh), a scratch folder
# and the processes the test started, all removed on the way out, and the look-ups the
# tests share.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

WORK="$(mktemp -d)"
started_pids=()
cleanup() {
    for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    stop_xvfb || true
    rm -rf "$WORK"
}
trap cleanup EXIT

# wait_exit PID SECONDS WHAT: sets exit_code to the exit code of PID (a child of this
# shell), or fails, naming WHAT, when it runs longer.
wait_exit() {
    local pid=$1 deadline
    deadline=$(($(date +%s%N) + $2 * 1000000000))
    while kill -0 "$pid" 2>/dev/null; do
        [ "$(date +%s%N)" -lt "$deadline" ] || fail "$3 still runs after $2 s"
        sleep 0.05
    done
    exit_code=0
    wait "$pid" || exit_code=$?
}

# find_window TITLE: the id of the window with exactly that title, waiting up to 20 s;
# nothing when none comes. (xwininfo, as xdotool cannot read every kind of window name.)
find_window() {
    local id
    for _ in $(seq 400); do
        id=$(xwininfo -root -tree | grep -F "\"$1\": (" | awk '{ print $1 }' | head -n1)
        if [ -n "$id" ] && xwininfo -id "$id" | grep -q IsViewable; then
            echo "$id"
            return
        fi
        sleep 0.05
    done
}

# pixel FILE X Y: "R,G,B" in 0..255.
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

# The show's own environment must not pick an offscreen driver, a sound card or a leak
# check at exit.
unset SDL_VIDEODRIVER WAYLAND_DISPLAY
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
