# Sourced by the idle launcher's session tests (sway, X11, mutter): the run as an ordinary
# user, the launcher's notes, and its end. Needs WORK, a folder of the test's own; the
# launcher writes its notes (--verbose) to $WORK/launcher.err and runs as $launcher.

# as_test_user SCRIPT ARGUMENTS...: as root, runs the script again as the test user (made
# when missing: sway, the daemon and mutter refuse root) and never returns.
as_test_user() {
  [ "$(id -u)" -eq 0 ] || return 0
  local user=voidrift-test
  id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user"
  exec runuser -u "$user" -- env PATH="$PATH" ASAN_OPTIONS="${ASAN_OPTIONS:-}" "$@"
}

session_fail() {
  echo "FAIL: $*"
  echo "--- launcher and show"; cat "$WORK/launcher.err" 2>/dev/null || true
  exit 1
}
# A test may put more before it.
fail() { session_fail "$@"; }

# notes TEXT: how often the launcher has said TEXT.
notes() { grep -c "$1" "$WORK/launcher.err" 2>/dev/null || true; }
# wait_notes TEXT COUNT SECONDS: until the launcher has said TEXT COUNT times.
wait_notes() {
  for _ in $(seq $(($3 * 20))); do
    [ "$(notes "$1")" -ge "$2" ] && return 0
    sleep 0.05
  done
  fail "the launcher did not say '$1' $2 times within $3 s"
}

# stop_launcher: SIGTERM; the launcher must end with 0 and take its show with it.
stop_launcher() {
  kill -TERM "$launcher"
  local status=0
  wait "$launcher" || status=$?
  launcher=""
  [ "$status" -eq 0 ] || fail "the launcher ended with $status"
  pgrep -u "$(id -u)" -f -- "voidrift /s" >/dev/null && fail "a show outlived its launcher"
  return 0
}
