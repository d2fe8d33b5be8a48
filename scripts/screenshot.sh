#!/usr/bin/env bash
# The README's picture of the show running as an XScreenSaver hack: the real daemon under
# Xvfb, the screen saved a few seconds into the show. Usage: scripts/screenshot.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/xscreensaver.png}")
cmake --build build --target voidrift x11_test_window content >/dev/null
SHOT="$out" SHOT_DELAY=4 tests/gui/xscreensaver_test.sh build/src/app/voidrift build/tests/x11_test_window
echo "saved $out"
