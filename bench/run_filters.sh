#!/usr/bin/env bash
# Times the quillet-batch text filters against their baseline tools on one generated
# corpus, in one run, and prints the ratios. Not a test: figures only.
#
#   bench/run_filters.sh [MEGABYTES]      (default 100)
#
# utf8 against iconv -f CP1252 -t UTF-8, strip against sed -E 's/\{[^}]*\}//g', clean and
# sort in MB/s, sort at half and full size to show it grows linearly, and strip on a
# corpus dense in brace spans.
set -euo pipefail
cd "$(dirname "$0")/.."
mb=${1:-100}
work=${BENCH_DIR:-/tmp/quillet-bench}
mkdir -p "$work"

test -f build/release/CMakeCache.txt || cmake --preset release >/dev/null
cmake --build --preset release --target quillet-batch quillet-make-corpus >/dev/null
batch=build/release/cli/quillet-batch
corpus=$work/corpus.txt
dense=$work/dense.txt
half=$work/half.txt
[ -s "$corpus" ] || build/release/bench/quillet-make-corpus "$mb" >"$corpus"
[ -s "$dense" ] || build/release/bench/quillet-make-corpus "$mb" 2 >"$dense"
[ -s "$half" ] || head -c $(( $(stat -c %s "$corpus") / 2 )) "$corpus" >"$half"

# Best wall time of three runs, in seconds, of a shell command reading $1.
best() {
    local input=$1 cmd=$2 t best=
    for _ in 1 2 3; do
        t=$( { /usr/bin/time -f %e bash -c "$cmd <'$input' >/dev/null" ; } 2>&1 | tail -n 1)
        if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
    done
    echo "$best"
}
rate() { awk "BEGIN{printf \"%.0f\", $1 / 1e6 / ($2 > 0 ? $2 : 0.001)}"; }
ratio() { awk "BEGIN{printf \"%.1f\", $1 / ($2 > 0 ? $2 : 0.001)}"; }

size=$(stat -c %s "$corpus")
spans=$(tr -cd '{' <"$dense" | wc -c)
echo "corpus: $size bytes; dense corpus: $(stat -c %s "$dense") bytes with $spans brace spans"

t_utf8=$(best "$corpus" "$batch utf8")
t_iconv=$(best "$corpus" "iconv -f CP1252 -t UTF-8")
echo "utf8:  ${t_utf8}s  iconv: ${t_iconv}s  -> quillet-batch is $(ratio "$t_iconv" "$t_utf8")x faster"

t_strip=$(best "$corpus" "$batch strip")
t_sed=$(best "$corpus" "sed -E 's/\\{[^}]*\\}//g'")
echo "strip: ${t_strip}s  sed:   ${t_sed}s  -> quillet-batch is $(ratio "$t_sed" "$t_strip")x faster"
t_dense=$(best "$dense" "$batch strip")
echo "strip on the dense corpus: ${t_dense}s for $spans spans"

t_clean=$(best "$corpus" "$batch clean")
echo "clean: ${t_clean}s  -> $(rate "$size" "$t_clean") MB/s"

t_sort=$(best "$corpus" "$batch sort")
t_sort_half=$(best "$half" "$batch sort")
echo "sort:  ${t_sort}s ($(rate "$size" "$t_sort") MB/s); half the input: ${t_sort_half}s" \
     "-> full/half = $(ratio "$t_sort" "$t_sort_half")"

peak=$( { /usr/bin/time -f %M "$batch" utf8 <"$corpus" >/dev/null; } 2>&1 | tail -n 1)
echo "utf8 peak resident memory: ${peak} KB (streams in 1 MiB pieces)"
