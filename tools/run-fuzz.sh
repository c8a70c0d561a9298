#!/usr/bin/env bash
# Builds the fuzz targets and runs each for a bounded time on its seeds; any finding
# fails the run, and the input that caused it is kept under build/fuzz/findings/.
#   tools/run-fuzz.sh [SECONDS_PER_TARGET]   (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
test -f build/fuzz/CMakeCache.txt || cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
mkdir -p build/fuzz/findings
status=0
for seeds in fuzz/seeds/*/; do
    name=$(basename "$seeds")
    corpus=build/fuzz/corpus/$name
    mkdir -p "$corpus"
    echo "== fuzz_$name for ${seconds}s"
    if ! "build/fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
        -print_final_stats=0 -artifact_prefix="build/fuzz/findings/$name-" \
        "$corpus" "$seeds" 2>"build/fuzz/$name.log"; then
        echo "fuzz_$name found a failing input:"; tail -n 30 "build/fuzz/$name.log"
        status=1
    else
        grep -E '^#[0-9]+.*DONE' "build/fuzz/$name.log" | tail -n 1 || true
    fi
done
exit $status
