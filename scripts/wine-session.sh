# Sourced by the Windows tests and benchmark: a throwaway Wine prefix on a private Xvfb
# display (a free number Xvfb picks itself: others run Xvfb on the same machine).
#   start_wine_session FOLDER [SCREEN]  prefix in FOLDER/prefix; exports WINEPREFIX and DISPLAY;
#                               SCREEN is the display's WxHxDEPTH (1024x768x24)
#   stop_wine_session           ends wineserver and Xvfb
#   windows_path PATH           the path as the Windows program sees it (Z:\...)
#   install_wine_packages PKG...  the Debian packages for Wine and Xvfb, and these
#   check NAME COMMAND...       runs one check: PASS or FAIL with the end of its output
#                               (kept in $work/check.log); counts failures in $failures

wine_packages=(wine wine64 xvfb xauth xdotool)

start_wine_session() {
  local folder=$1 screen=${2:-1024x768x24} fifo display
  export WINEPREFIX="$folder/prefix" WINEARCH=win64 WINEDEBUG=-all
  # No Mono or Gecko installers popping up in a fresh prefix.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  fifo="$folder/displayfd"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  wine_xvfb_pid=$!
  read -r -t 30 display <"$fifo" || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$display"
  # A server that stays up, so each program starts as it would on Windows, without
  # starting Wine again; and a fresh prefix's slow first start, once per session.
  mkdir -p "$WINEPREFIX"
  wineserver -p
  wineboot -i >/dev/null 2>&1
}

stop_wine_session() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${wine_xvfb_pid:-}" ] && kill "$wine_xvfb_pid" 2>/dev/null || true
  wine_xvfb_pid=""
}

windows_path() { winepath -w "$1" 2>/dev/null; }

install_wine_packages() {
  local sudo="" missing=() p
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  for p in "${wine_packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    $sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends \
      "${missing[@]}"
  fi
}

check() {
  local name=$1
  shift
  if "$@" >"$work/check.log" 2>&1; then
    echo "PASS $name"
  else
    echo "FAIL $name"
    sed 's/^/    /' "$work/check.log" | tail -n 20
    failures=$((failures + 1))
  fi
}
