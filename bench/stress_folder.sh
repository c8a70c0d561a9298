#!/usr/bin/env bash
# A folder of 100,000 small tagged files: how long listing, tag removal and the XML export
# take and how much memory they need at most. Not a test: figures only.
#   bench/stress_folder.sh [FILES]   (default 100000; release build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
files=${1:-100000}
cd "$root"
test -f build/release/CMakeCache.txt || cmake --preset release >/dev/null
cmake --build --preset release --target quillet-batch quillet-make-folder >/dev/null
batch=build/release/cli/quillet-batch
work=$(mktemp -d "${TMPDIR:-/var/tmp}/quillet-stress.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src" "$work/xml"
build/release/bench/quillet-make-folder "$work/src" "$files" $((files / 1000 * 2 + 1)) >/dev/null
echo "folder: $(find "$work/src" -name '*.txt' | wc -l) files, $(du -sm "$work/src" | cut -f1) MB"

measure() { # label command...
    local label=$1; shift
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null
    read -r secs kb <"$work/time"
    printf '%-28s %7.2f s  peak %6d KB\n' "$label" "$secs" "$kb"
}
measure "ls (listing baseline)" ls -f "$work/src"
measure "strip-folder" "$batch" strip-folder "$work/src"
measure "export" "$batch" export "$work/src" "$work/xml"
measure "strip-folder --overwrite" "$batch" strip-folder --overwrite "$work/src"
echo "records exported: $(grep -c '^<Daten>' "$work/xml/XML0/XML.xml")"
