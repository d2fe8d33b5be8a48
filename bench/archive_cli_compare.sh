#!/usr/bin/env bash
# Packed size and decode time of one member through the command line: imppack's LZ
# and BWT members against gzip -9 and bzip2 -9 on the same bytes, each decoded to
# /dev/null, best of three.
#   bench/archive_cli_compare.sh [BUILD_DIR] [BYTES]
# BUILD_DIR (default build) gets imppack and bench_archive_corpus_dump built in it
# (configured as a Release build when it does not exist yet). The member is the
# benchmark corpus mix (repository sources, text from their statistics, mesh
# records, image pixels, machine-code-like bytes; half text, half binary) at BYTES,
# default 16 MiB.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
bytes="${2:-16777216}"
runs=3

if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVOIDRIFT_BENCH=ON > /dev/null
fi
cmake --build "$build" --target imppack bench_archive_corpus_dump -j1 > /dev/null
imppack="$PWD/$build/tools/imppack/imppack"
dump="$PWD/$build/bench/bench_archive_corpus_dump"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
member="$work/member.bin"
"$dump" "$member" "$bytes"

"$imppack" create "$work/lz.ssd" --method lz "$member"
"$imppack" create "$work/bwt.ssd" --method bwt "$member"
gzip -9 -c "$member" > "$work/member.gz"
bzip2 -9 -c "$member" > "$work/member.bz2"

size() { stat -c %s "$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", a / b }'; }
input=$(size "$member")
lz=$(size "$work/lz.ssd")
bwt=$(size "$work/bwt.ssd")
gz=$(size "$work/member.gz")
bz=$(size "$work/member.bz2")
echo "member: $input bytes (corpus mix)"
printf '%-22s %10s\n' "imppack --method lz" "$lz" "gzip -9" "$gz" "imppack --method bwt" "$bwt" "bzip2 -9" "$bz"
echo "packed LZ / gzip -9:   $(ratio "$lz" "$gz")"
echo "packed BWT / bzip2 -9: $(ratio "$bwt" "$bz")"

# A decoder that gets the bytes wrong is not measured.
status=0
for archive in lz bwt; do
    if ! "$imppack" cat "$work/$archive.ssd" member.bin | cmp -s - "$member"; then
        echo "FAIL: imppack cat of the $archive archive differs from the member" >&2
        status=1
    fi
done
gzip -dc "$work/member.gz" | cmp -s - "$member" || { echo "FAIL: gzip -dc differs" >&2; status=1; }
bzip2 -dc "$work/member.bz2" | cmp -s - "$member" || { echo "FAIL: bzip2 -dc differs" >&2; status=1; }
[ "$status" -eq 0 ] || exit "$status"

# Best of three wall-clock runs of a command, in seconds.
best() {
    local best_ns="" start end ns
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        "$@" > /dev/null
        end=$(date +%s%N)
        ns=$((end - start))
        if [ -z "$best_ns" ] || [ "$ns" -lt "$best_ns" ]; then best_ns=$ns; fi
    done
    awk -v ns="$best_ns" 'BEGIN { printf "%.3f", ns / 1e9 }'
}
t_lz=$(best "$imppack" cat "$work/lz.ssd" member.bin)
t_gz=$(best gzip -dc "$work/member.gz")
t_bwt=$(best "$imppack" cat "$work/bwt.ssd" member.bin)
t_bz=$(best bzip2 -dc "$work/member.bz2")
echo "decode to /dev/null, best of $runs (seconds):"
printf '%-22s %8s\n' "imppack cat (lz)" "$t_lz" "gzip -dc" "$t_gz" "imppack cat (bwt)" "$t_bwt" "bzip2 -dc" "$t_bz"
echo "time LZ / gzip -dc:    $(ratio "$t_lz" "$t_gz")"
echo "time BWT / bzip2 -dc:  $(ratio "$t_bwt" "$t_bz")"
