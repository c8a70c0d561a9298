#!/usr/bin/env bash
# Runs every quillet-batch text filter over a 1 GB tagged corpus and reports the time and
# peak resident memory of each. Not a test: figures only.
#   bench/stress_filters.sh [MEGABYTES]   (default 1000)
set -euo pipefail
cd "$(dirname "$0")/.."
mb=${1:-1000}
work=${BENCH_DIR:-/tmp/quillet-bench}
mkdir -p "$work"
test -f build/release/CMakeCache.txt || cmake --preset release >/dev/null
cmake --build --preset release --target quillet-batch quillet-make-corpus >/dev/null
batch=build/release/cli/quillet-batch
big=$work/big-$mb.txt
[ -s "$big" ] || build/release/bench/quillet-make-corpus "$mb" >"$big"
echo "input: $(stat -c %s "$big") bytes"
for cmd in utf8 strip clean sort; do
    /usr/bin/time -f "$cmd: %e s wall, %U s user, peak %M KB" "$batch" "$cmd" <"$big" \
        >"$work/big.$cmd" 2>"$work/big.$cmd.time" || { echo "$cmd failed"; cat "$work/big.$cmd.time"; }
    tail -n 1 "$work/big.$cmd.time"
    rm -f "$work/big.$cmd"
done
