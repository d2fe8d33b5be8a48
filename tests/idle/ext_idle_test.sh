#!/usr/bin/env bash
# The launcher's ext-idle-notify-v1 client and its rules, against a compositor made for the
# test (ExtIdleCompositor.c), with a stand-in show that logs its life: the show starts
# after the idle time; a show that fails is not started again until the user was active; activity, then idleness, starts it again; an inhibitor holds it off; a second
# launcher in the session refuses to run; SIGTERM ends the launcher and its show. Then
# logind's idle inhibitor and lock hint (a stand-in logind on a bus of the test's own) hold
# the show off, and `voidrift --idle` takes its idle time from the "IdleMinutes" setting.
# Usage: ext_idle_test.sh VOIDRIFT_IDLE EXT_IDLE_COMPOSITOR VOIDRIFT FAKE_LOGIND
set -euo pipefail
launcher=$(realpath "$1") compositor=$(realpath "$2") voidrift=$(realpath "$3") logind=$(realpath "$4")
WORK=$(mktemp -d)
comp="" run="" bus="" fake=""
cleanup() {
  for pid in $run $fake $bus $comp; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  echo "--- show log"; cat "$WORK/show.log" 2>/dev/null || true
  echo "--- launcher"; cat "$WORK/launcher.err" 2>/dev/null || true
  exit 1
}
# count TEXT: the lines of the show log equal to TEXT.
count() {
  local lines
  lines=$(grep -cx -- "$1" "$WORK/show.log" 2>/dev/null) || true
  echo "${lines:-0}"
}
# wait_for TEXT COUNT SECONDS: until the show log has COUNT lines equal to TEXT.
wait_for() {
  for _ in $(seq $(($3 * 10))); do
    [ "$(count "$1")" -ge "$2" ] && return 0
    sleep 0.1
  done
  fail "no $2 x '$1' in the show log after $3 s"
}

unset DISPLAY WAYLAND_DISPLAY
export XDG_RUNTIME_DIR="$WORK/run" SHOW_LOG="$WORK/show.log"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The stand-in show: logs its arguments, ends on SIGTERM, or fails (status 1) on the stop
# file.
cat >"$WORK/show" <<'SHOW'
#!/bin/sh
echo "start $*" >>"$SHOW_LOG"
trap 'echo term >>"$SHOW_LOG"; exit 0' TERM
while [ ! -e "$SHOW_LOG.stop" ]; do sleep 0.1; done
rm -f "$SHOW_LOG.stop"
echo end >>"$SHOW_LOG"
exit 1
SHOW
chmod +x "$WORK/show"
stop_show() { touch "$SHOW_LOG.stop"; wait_for end "$1" 20; }

"$compositor" >"$WORK/socket" &
comp=$!
for _ in $(seq 100); do [ -s "$WORK/socket" ] && break; sleep 0.1; done
export WAYLAND_DISPLAY=$(cat "$WORK/socket")
[ -n "$WAYLAND_DISPLAY" ] || fail "the test compositor did not start"

"$launcher" --program "$WORK/show" --idle-seconds 1 --show-argument=--no-loading --verbose 2>"$WORK/launcher.err" &
run=$!
wait_for "start /s --no-loading" 1 20
grep -q "watching ext-idle-notify-v1" "$WORK/launcher.err" || fail "the launcher did not use ext-idle-notify-v1"

# Only one launcher per session.
if "$launcher" --program "$WORK/show" --idle-seconds 1 2>"$WORK/second.err"; then fail "a second launcher ran"; fi
grep -q "already runs" "$WORK/second.err" || fail "the second launcher did not say why it stopped: $(cat "$WORK/second.err")"

# Failed, with no activity: not again within three idle times.
stop_show 1
sleep 3
[ "$(count "start /s --no-loading")" -eq 1 ] || fail "the show started again with no activity"

# Activity, then idleness: again.
kill -USR1 "$comp"
wait_for "start /s --no-loading" 2 20

# An inhibitor held: no show over three idle times, activity or not; released: the show.
kill -USR2 "$comp"
stop_show 2
kill -USR1 "$comp"
sleep 3
[ "$(count "start /s --no-loading")" -eq 2 ] || fail "the show started while an inhibitor was held"
kill -USR2 "$comp"
wait_for "start /s --no-loading" 3 20

# SIGTERM: the show ends with the launcher, and nothing is left behind.
kill -TERM "$run"
status=0
wait "$run" || status=$?
run=""
[ "$status" -eq 0 ] || fail "the launcher ended with $status after SIGTERM"
wait_for term 1 5
pgrep -f "$WORK/show" >/dev/null && fail "the show outlived its launcher"

# logind: "idle" in BlockInhibited, then LockedHint, each holds the show off; its Lock
# signal ends a running show.
dbus-daemon --session --nofork --nopidfile --address="unix:path=$WORK/system_bus" &
bus=$!
for _ in $(seq 100); do [ -S "$WORK/system_bus" ] && break; sleep 0.1; done
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$WORK/system_bus"
"$logind" >"$WORK/logind.out" &
fake=$!
for _ in $(seq 100); do grep -q ready "$WORK/logind.out" 2>/dev/null && break; sleep 0.1; done
grep -q ready "$WORK/logind.out" || fail "the stand-in logind did not start"
idle_notes() { grep -c "the session is idle" "$WORK/launcher2.err" 2>/dev/null || true; }
# held_off: one more idle edge goes by without a show.
held_off() {
  local starts idles
  starts=$(count "start /s --no-loading") idles=$(idle_notes)
  kill -USR1 "$comp"
  for _ in $(seq 200); do [ "$(idle_notes)" -gt "$idles" ] && break; sleep 0.1; done
  [ "$(idle_notes)" -gt "$idles" ] || fail "no idle edge came"
  sleep 1.5
  [ "$(count "start /s --no-loading")" -eq "$starts" ] || fail "the show started while $1"
}
kill -USR1 "$fake"
"$launcher" --program "$WORK/show" --idle-seconds 1 --show-argument=--no-loading --verbose 2>"$WORK/launcher2.err" &
run=$!
held_off "logind held an idle inhibitor"
kill -USR1 "$fake"
kill -USR1 "$comp"
wait_for "start /s --no-loading" 4 20
stop_show 3
kill -USR2 "$fake"
held_off "logind said the session was locked"
kill -USR2 "$fake"
kill -USR1 "$comp"
wait_for "start /s --no-loading" 5 20
kill -USR2 "$fake"
wait_for term 2 20
grep -q "the session is locking" "$WORK/launcher2.err" || fail "the launcher did not end the show for the lock"
kill "$run"
wait "$run" || true
run=""
unset DBUS_SYSTEM_BUS_ADDRESS

# The setting, through the program's own --idle; the command line still wins.
printf '[Software\\Voidrift 3D Screensaver]\nIdleMinutes=7\n' >"$WORK/settings.ini"
# watching ARGUMENTS...: what `voidrift --idle ARGUMENTS` says it watches, once it does.
watching() {
  VOIDRIFT_CONFIG="$WORK/settings.ini" "$voidrift" --idle --verbose "$@" 2>"$WORK/setting.err" &
  local pid=$!
  for _ in $(seq 200); do grep -q watching "$WORK/setting.err" && break; sleep 0.1; done
  kill "$pid"
  wait "$pid" || true
  grep watching "$WORK/setting.err" || cat "$WORK/setting.err"
}
[ "$(watching)" = "voidrift: watching ext-idle-notify-v1 for 420 s of idleness" ] || fail "IdleMinutes=7: $(watching)"
[ "$(watching --idle-seconds 9)" = "voidrift: watching ext-idle-notify-v1 for 9 s of idleness" ] ||
  fail "--idle-seconds 9: $(watching --idle-seconds 9)"
echo "PASS"
