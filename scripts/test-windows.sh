#!/usr/bin/env bash
# The Windows screensaver, end to end under Wine on a private Xvfb display: builds
# build-windows/ (scripts/build-windows.sh), then checks the program's imports, runs the
# Windows unit tests, records frames against the Linux build's, reads the settings from
# the registry, finds data.ssd, and ends full-screen runs by key, mouse and close with
# the display given back. Prints one line per check; exits 1 when any failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/wine-session.sh

install_wine_packages python3

scripts/build-windows.sh
[ -x build/src/app/voidrift ] || VOIDRIFT_TARGETS="voidrift content" scripts/setup.sh build

work=$(mktemp -d /tmp/voidrift-wine-XXXXXX)
trap 'stop_wine_session; rm -rf "$work"' EXIT
start_wine_session "$work"

frames="python3 $root/tests/windows/frames.py"
key='HKCU\Software\Voidrift 3D Screensaver'
failures=0

# The installed layout: the two files in one folder, started from somewhere else.
saver="$work/saver"
mkdir -p "$saver" "$work/empty" "$work/elsewhere"
cp build-windows/voidrift.scr build-windows/data.ssd "$saver/"
scr="$saver/voidrift.scr"

set_numbers() {  # NAME VALUE ...
  while [ $# -gt 0 ]; do
    wine reg add "$key" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1
    shift 2
  done
}

# Records with the Windows program from another folder: record NAME [options...]
record() {
  local name=$1
  shift
  (cd "$work/elsewhere" && wine "$scr" /s --record "$(windows_path "$work/$name")" --size 320x240 "$@") \
    >"$work/$name.out" 2>"$work/$name.err"
}

# The same run of the Linux build, offscreen, with the same settings.
record_linux() {
  local name=$1
  shift
  printf '[Software\\Voidrift 3D Screensaver]\nEnableMusic=0\nShowClock=0\nShowFPS=0\nGalaxy=1\nPath=%s\n' \
    "$root/build/data" >"$work/linux.ini"
  VOIDRIFT_CONFIG="$work/linux.ini" SDL_VIDEODRIVER=offscreen build/src/app/voidrift \
    --record "$work/$name" --size 320x240 "$@" >/dev/null 2>&1
}

imports_only_system_dlls() {
  local imports
  imports=$(x86_64-w64-mingw32-objdump -p build-windows/voidrift.scr | sed -n 's/^\s*DLL Name: //p')
  echo "$imports"
  [ -n "$imports" ] || return 1
  ! echo "$imports" | grep -viqE '^(advapi32|comctl32|gdi32|glu32|kernel32|msvcrt|opengl32|shell32|user32|winmm)\.dll$'
}
check "voidrift.scr imports only system DLLs" imports_only_system_dlls
check "Windows unit tests under Wine" wine build-windows/windows_unit_tests.exe --gtest_brief=1

# Screen Saver Settings lists the saver under string 1; the manifest makes it DPI aware and
# gives it today's controls on today's systems. Both read back from the built file.
resources_in_scr() {
  local description manifest part
  description=$(python3 tests/windows/resources.py string build-windows/voidrift.scr 1) || return 1
  echo "string 1: $description"
  [ "$description" = "Voidrift 3D Screensaver" ] || return 1
  manifest=$(python3 tests/windows/resources.py manifest build-windows/voidrift.scr) || return 1
  for part in '>PerMonitorV2' '>true/pm</dpiAware>' 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' \
              'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"'; do
    grep -qF "$part" <<<"$manifest" || { echo "the manifest lacks $part"; return 1; }
  done
}
check "string 1 and the manifest are in voidrift.scr" resources_in_scr

# No key at all: the run creates it, takes the defaults (the clock in the bar) and, with
# no "Path", finds data.ssd beside the .scr although it starts elsewhere.
wine reg delete "$key" /f >/dev/null 2>&1 || true
missing_key_run() {
  record fresh --frames 2 --no-loading --fixed-dt 0.5 && wine reg query "$key" &&
    $frames bars-lit "$work/fresh/frame-00001.png"
}
check "missing key created, data.ssd found beside the .scr" missing_key_run

# Values written with reg add are the ones the run uses: no clock and no frame rate give
# black bars; a TimeScale of 7 is read as 0, so the frames match the Linux run at
# normal speed, while a TimeScale of 3 runs the show faster and they do not.
set_numbers EnableMusic 0 ShowClock 0 ShowFPS 0 Galaxy 1 TimeScale 7
show_options=(--frames 3 --seed 7 --fixed-dt 0.5)
record_linux linux-show "${show_options[@]}" --no-loading
record_linux linux-loading "${show_options[@]}"
registry_run() {
  record show "${show_options[@]}" --no-loading && $frames letterbox "$work"/show/frame-*.png &&
    for i in 0 1 2; do $frames alike "$work/show/frame-0000$i.png" "$work/linux-show/frame-0000$i.png" 2; done
}
check "registry values used, frames match the Linux run" registry_run
time_scale_run() {
  set_numbers TimeScale 3
  record faster "${show_options[@]}" --no-loading && $frames differ "$work/faster/frame-00002.png" \
    "$work/linux-show/frame-00002.png" 2
}
check "TimeScale 3 runs faster than 7 (read as 0)" time_scale_run
set_numbers TimeScale 0
loading_run() {
  record loading "${show_options[@]}" && $frames letterbox "$work"/loading/frame-*.png &&
    for i in 0 1 2; do $frames alike "$work/loading/frame-0000$i.png" "$work/linux-loading/frame-0000$i.png" 2; done
}
check "loading animation matches the Linux run" loading_run

# A "Path" without data.ssd: a message that says so, no frames, exit code 1.
wine reg add "$key" /v Path /t REG_SZ /d "$(windows_path "$work/empty")" /f >/dev/null 2>&1
wrong_path_run() {
  local code=0
  record nodata --frames 2 --no-loading || code=$?
  cat "$work/nodata.err"
  echo "exit code $code"
  [ "$code" = 1 ] && grep -q 'data.ssd not found' "$work/nodata.err" && [ -z "$(ls -A "$work/nodata" 2>/dev/null)" ]
}
check "Path without data.ssd: message and exit" wrong_path_run
wine reg delete "$key" /v Path /f >/dev/null 2>&1

# Runs for a machine tell their caller what went wrong, as on Linux: 2 for a bad option, 1
# for a run that could not do its work (the runs above that worked returned 0).
exit_code_of() {  # options...: prints the exit code; stderr in $work/exit.err
  local code=0
  (cd "$work/elsewhere" && wine "$scr" "$@") >/dev/null 2>"$work/exit.err" || code=$?
  echo "$code"
}
expect_code() {  # code options...
  local want=$1 got
  shift
  got=$(exit_code_of "$@")
  echo "$* -> $got"
  [ "$got" = "$want" ]
}
unattended_failures() {
  local cut="$work/cut"
  mkdir -p "$cut" && head -c 100000 build-windows/data.ssd >"$cut/data.ssd" && touch "$work/a-file"
  expect_code 2 --frames x && expect_code 2 --bogus &&
    expect_code 1 --data "$(windows_path "$work/empty")" --frames 1 --no-loading --size 320x240 &&
    expect_code 1 --data "$(windows_path "$cut")" --check-data &&
    expect_code 1 --data "$(windows_path "$cut")" --frames 1 --no-loading --size 320x240 &&
    expect_code 1 --record "$(windows_path "$work/a-file")\\frames" --frames 1 --no-loading --size 320x240 &&
    expect_code 0 --check-data
}
check "unattended failures return 1, bad options 2" unattended_failures

# A "Path" longer than the registry's 254 characters is named, and data.ssd is then
# looked for beside the screensaver.
long_path_named() {
  wine reg add "$key" /v Path /t REG_SZ /d "C:\\$(printf 'x%.0s' $(seq 300))" /f >/dev/null 2>&1
  expect_code 0 --check-data || return 1
  cat "$work/exit.err"
  grep -q '"Path" setting is longer than 254 characters' "$work/exit.err"
}
check "a Path too long for the registry buffer is named" long_path_named
wine reg delete "$key" /v Path /f >/dev/null 2>&1 || true

# Folder names outside the ANSI code page: "Path" naming one (written by regedit from a
# UTF-16 file, so no code page stands between), and the screensaver itself lying in one.
set_path_utf16() {  # WINDOWS-PATH
  python3 -c 'import sys; open(sys.argv[1], "w", encoding="utf-16").write(
    "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Voidrift 3D Screensaver]\r\n"
    "\"Path\"=\"%s\"\r\n" % sys.argv[2].replace("\\", "\\\\"))' "$work/path.reg" "$1"
  wine regedit /S "$(windows_path "$work/path.reg")"
}
non_ascii_folders() {
  local folder="$work/Zoë Ж 中文"
  mkdir -p "$folder" && cp build-windows/data.ssd build-windows/voidrift.scr "$folder/"
  set_path_utf16 "Z:${folder//\//\\}"
  wine reg query "$key" /v Path
  record wide-path --frames 1 --no-loading || { cat "$work/wide-path.err"; return 1; }
  ls "$work/wide-path/frame-00000.png" || return 1
  wine reg delete "$key" /v Path /f >/dev/null 2>&1
  (cd "$folder" && wine ./voidrift.scr --record "$(windows_path "$work/wide-home")" --frames 1 --no-loading \
     --size 320x240) 2>"$work/wide-home.err" || { cat "$work/wide-home.err"; return 1; }
  ls "$work/wide-home/frame-00000.png"
}
check "data.ssd found through a Path and a program folder named Zoë Ж 中文" non_ascii_folders
wine reg delete "$key" /v Path /f >/dev/null 2>&1 || true

# Full-screen runs in the desktop's mode (Xvfb offers no other) with a gamma ramp of their
# own, ended three ways; the display mode and gamma ramp that Wine reports afterwards are
# those of before.
set_numbers UseDesktop 1 DefGamma 0 Gamma 80 MouseExit 0
display_state() { wine build-windows/display_state.exe 2>/dev/null | tr -d '\r'; }
before=$(display_state)
saver_pid=""
read -r screen_width screen_height < <(xdotool getdisplaygeometry)
centre="x:$((screen_width / 2)) y:$((screen_height / 2))"
start_saver() {
  (cd "$work/elsewhere" && exec wine "$scr" /s) >"$work/saver.out" 2>&1 &
  saver_pid=$!
}
# Moves the pointer off the window centre until the run's main loop has taken the motion
# and put the cursor back twice (the first time may be the warp that starts the loop, which
# also drops the motion of the loading animation), or until the run ends.
move_until_taken() {
  local i taken=0
  for i in $(seq 80); do
    kill -0 "$saver_pid" 2>/dev/null || return 0
    # Two points in turn: a move to where the pointer already is would be no motion.
    xdotool mousemove $((screen_width / 2 + 30 + i % 2 * 10)) $((screen_height / 2 + 30))
    sleep 0.5
    if [ "$(xdotool getmouselocation | cut -d' ' -f1-2)" = "$centre" ]; then
      taken=$((taken + 1))
      [ "$taken" -ge 2 ] && return 0
    fi
  done
  echo "the run never took the pointer's motion"
  return 1
}
ended_within() {  # seconds: the saver ended by itself, with exit code 0
  local i
  for i in $(seq $(($1 * 10))); do
    if ! kill -0 "$saver_pid" 2>/dev/null; then
      wait "$saver_pid"
      return
    fi
    sleep 0.1
  done
  echo "still running"
  kill "$saver_pid" 2>/dev/null
  return 1
}
display_back() {
  local after
  after=$(display_state)
  echo "before: $before / after: $after"
  [ "$after" = "$before" ]
}
key_run() {
  start_saver
  # MouseExit off: the motion only re-centres the cursor.
  move_until_taken && sleep 1 && kill -0 "$saver_pid" || { echo "mouse motion ended the run"; return 1; }
  xdotool key space
  ended_within 10 && display_back
}
check "any key ends the run, mouse motion does not; display back" key_run
mouse_run() {
  set_numbers MouseExit 1
  start_saver
  move_until_taken && ended_within 10 && display_back
}
check "mouse motion with MouseExit ends the run; display back" mouse_run
close_run() {
  set_numbers MouseExit 0
  start_saver
  move_until_taken || return 1
  wine taskkill /im voidrift.scr
  ended_within 10 && display_back
}
check "closing the window ends the run; display back" close_run

# A display without OpenGL (an Xvfb without GLX): a run for a machine says so on stderr and
# returns 1; the saver run says so in a box (a .scr has no console) and ends once it is closed.
without_gl() {
  local display=$1 code=0 id="" i
  DISPLAY=":$display" wine "$scr" --frames 1 --no-loading --size 320x240 >/dev/null 2>"$work/nogl.err" || code=$?
  echo "unattended run: exit code $code; $(cat "$work/nogl.err")"
  [ "$code" = 1 ] && grep -q 'No OpenGL context can be made' "$work/nogl.err" || return 1
  (cd "$work/elsewhere" && DISPLAY=":$display" exec wine "$scr" /s) >/dev/null 2>&1 &
  saver_pid=$!
  for i in $(seq 150); do
    id=$(DISPLAY=":$display" xdotool search --onlyvisible --name '^Voidrift 3D Screensaver$' 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "no message box"; kill "$saver_pid"; return 1; }
  DISPLAY=":$display" xdotool windowfocus --sync "$id" key Return
  ended_within 10
}
no_gl_run() {
  local fifo="$work/nogl-displayfd" display pid result=0
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -extension GLX 3>"$fifo" >/dev/null 2>&1 &
  pid=$!
  read -r -t 30 display <"$fifo" || { kill "$pid"; return 1; }
  without_gl "$display" || result=1
  kill "$pid"
  return "$result"
}
check "no OpenGL: a message box for the saver, exit code 1 for a run for a machine" no_gl_run

# The settings dialog, the preview and the setup program, in a session of their own.
# VOIDRIFT_DIALOG_SHOTS=FOLDER keeps the dialog's screenshots at 96 and 192 DPI there.
shots=${VOIDRIFT_DIALOG_SHOTS:+$VOIDRIFT_DIALOG_SHOTS/dialog-96dpi.png $VOIDRIFT_DIALOG_SHOTS/dialog-192dpi.png}
# shellcheck disable=SC2086
scripts/test-windows-dialog.sh $shots || failures=$((failures + 1))

if [ "$failures" -gt 0 ]; then
  echo "$failures Windows check(s) failed"
  exit 1
fi
echo "All Windows checks passed"
