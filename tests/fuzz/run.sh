#!/usr/bin/env bash
# Runs every fuzz target in BUILD_DIR/tests/fuzz for SECONDS each, from its seed corpus.
set -euo pipefail
build="$1"; seconds="${2:-60}"
here="$(cd "$(dirname "$0")" && pwd)"
shopt -s nullglob
for target in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="$(mktemp -d)"
  [ -d "$here/corpus/$name" ] && cp -r "$here/corpus/$name/." "$corpus/"
  # A target may bring its own seed maker (e.g. archives written by our packer).
  [ -x "$build/tests/fuzz/seed_$name" ] && "$build/tests/fuzz/seed_$name" "$corpus"
  echo "== $name: ${seconds}s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 "$corpus"
  rm -rf "$corpus"
done
