#!/usr/bin/env bash
# Times quillet-batch.exe of the Windows build under Wine against the Linux build's
# quillet-batch on one generated folder, in one run: the XML export, and Wine's start
# alone (quillet-batch.exe --help), which every command pays once. Wine runs in a prefix
# of its own, made first and not timed. Every command runs three times from a warm page
# cache; the best time counts.
# Usage: bench/run_windows_export.sh [LINUX_BUILD [WINDOWS_BUILD [FILES [TOTAL_MB]]]]
#        (default build/dev build/windows 10000 200)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux=${1:-$root/build/dev}
windows=${2:-$root/build/windows}
files=${3:-10000}
total_mb=${4:-200}
batch=$linux/cli/quillet-batch
batch_exe=$windows/cli/quillet-batch.exe
make_folder=$linux/bench/quillet-make-folder
for tool in "$batch" "$batch_exe" "$make_folder"; do
    [ -f "$tool" ] || { echo "missing $tool: build both presets first" >&2; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/var/tmp}/quillet-bench.XXXXXX")
export WINEPREFIX=$work/prefix
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
wine=("$root/tools/wine-run.sh")
env -u DISPLAY WINEDEBUG=-all wineboot -i >/dev/null 2>&1
corpus=$work/corpus
mkdir -p "$corpus" "$work/out"
"$make_folder" "$corpus" "$files" "$total_mb"
find "$corpus" -name '*.txt' -print0 | xargs -0 cat >/dev/null # warm the page cache
echo "folder: $files files, $(($(du -sb "$corpus" | cut -f1) / 1000000)) MB"

best=""
timed() { # runs "$@" three times, after removing the last export; best seconds in $best
    best=""
    for _ in 1 2 3; do
        rm -rf "$work/out"/*
        /usr/bin/time -f '%e' -o "$work/time" "$@" >/dev/null
        secs=$(cat "$work/time")
        if [ -z "$best" ] || awk "BEGIN{exit !($secs < $best)}"; then best=$secs; fi
    done
}
timed "$batch" export "$corpus" "$work/out"
linux_s=$best
timed "${wine[@]}" "$batch_exe" --help
start_s=$best
timed "${wine[@]}" "$batch_exe" export "$corpus" "$work/out"
wine_s=$best
# Both exports must give the same XML.
"$batch" export "$corpus" "$work/out" >/dev/null
"${wine[@]}" "$batch_exe" export "$corpus" "$work/out" >/dev/null
cmp -s "$work/out/XML0/XML.xml" "$work/out/XML1/XML.xml" || echo "WARNING: the two XML files differ"

printf '%-44s %8s s\n' "quillet-batch export (Linux)" "$linux_s"
printf '%-44s %8s s   ratio %s to Linux\n' "quillet-batch.exe export (Wine)" "$wine_s" \
    "$(awk "BEGIN{printf \"%.2f\", $wine_s / ($linux_s > 0.005 ? $linux_s : 0.005)}")"
printf '%-44s %8s s\n' "quillet-batch.exe --help (Wine's start)" "$start_s"
