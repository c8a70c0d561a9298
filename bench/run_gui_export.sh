#!/usr/bin/env bash
# Times the program's XML export (the TEXTtoXML page, driven by quillet-gui-export-bench on
# the offscreen platform: folder buttons, then the export button) against
#   quillet-batch export   of the same folder (target: the program within 1.5x).
# Both are timed as whole processes, start-up included; the program's own figure from the
# folder choice to the completion box is printed beside it. Three runs each from a warm
# page cache; the best time counts.
# Usage: bench/run_gui_export.sh [BUILD_DIR [FILES [TOTAL_MB]]]   (default build/release 10000 200)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
files=${2:-10000}
total_mb=${3:-200}
batch=$build/cli/quillet-batch
gui=$build/bench/quillet-gui-export-bench
make_folder=$build/bench/quillet-make-folder
for tool in "$batch" "$gui" "$make_folder"; do
    [ -x "$tool" ] || { echo "missing $tool: build with benchmarks on (cmake -DQUILLET_BENCH=ON)" >&2; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/var/tmp}/quillet-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
corpus=$work/corpus
mkdir -p "$corpus" "$work/xml"
"$make_folder" "$corpus" "$files" "$total_mb"
find "$corpus" -name '*.txt' -print0 | xargs -0 cat >/dev/null # warm the page cache
bytes=$(du -sb "$corpus" | cut -f1)
echo "folder: $files files, $((bytes / 1000000)) MB"

best=""
timed() { # runs "$@" three times after clearing the exports; best seconds in $best
    best=""
    for _ in 1 2 3; do
        rm -rf "$work/xml"/XML*
        /usr/bin/time -f '%e' -o "$work/time" "$@" >"$work/out" 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
        read -r secs <"$work/time"
        if [ -z "$best" ] || awk "BEGIN{exit !($secs < $best)}"; then best=$secs; fi
    done
}
ratio() { awk "BEGIN{printf \"%.2f\", $1 / ($2 > 0.005 ? $2 : 0.005)}"; }

timed "$batch" export "$corpus" "$work/xml"
batch_s=$best
cmp -s "$work/xml/XML0/XML.xml" /dev/null && { echo "the command wrote an empty XML.xml" >&2; exit 1; }
cp "$work/xml/XML0/XML.xml" "$work/batch.xml"
timed "$gui" "$corpus" "$work/xml"
gui_s=$best
in_program=$(sed -n 's/^gui export: \([0-9.]*\) s$/\1/p' "$work/out")
cmp -s "$work/xml/XML0/XML.xml" "$work/batch.xml" || { echo "the program's XML.xml differs from the command's" >&2; exit 1; }

printf '%-44s %8s s\n' "quillet-batch export" "$batch_s"
printf '%-44s %8s s   ratio %s (target <= 1.5)\n' "program export (whole process)" "$gui_s" "$(ratio "$gui_s" "$batch_s")"
printf '%-44s %8s s   (last run, folder choice to completion box)\n' "program export (inside the program)" "$in_program"
