#!/usr/bin/env bash
# Times the two folder commands on a generated folder of tagged files and prints the
# figures next to their yardsticks:
#   quillet-batch export        against  cat of every file | iconv -f CP1252 -t UTF-8
#                               (target: within 1.5x; peak memory under 64 MB plus the
#                               largest file)
#   quillet-batch strip-folder  against  cp -r of the folder (target: within 2x)
#   strip-folder --overwrite    against  strip-folder into the subfolder (target: within
#                               1.5x), each over the tagged folder, after a sync, so that
#                               the overwrite's one wait on the disk pays for its own
#                               writes only
#   quillet-batch export --format csv|jsonl|sqlite  against  the XML export (target:
#                               each within 1.5x)
#   quillet-batch check         against  the XML export (target: no slower)
# Every command runs three times from a warm page cache; the best time counts.
# Usage: bench/run_folder.sh [BUILD_DIR [FILES [TOTAL_MB]]]   (default build/release 10000 200)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
files=${2:-10000}
total_mb=${3:-200}
batch=$build/cli/quillet-batch
make_folder=$build/bench/quillet-make-folder
for tool in "$batch" "$make_folder"; do
    [ -x "$tool" ] || { echo "missing $tool: build the release preset first" >&2; exit 1; }
done
work=$(mktemp -d "${TMPDIR:-/var/tmp}/quillet-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
corpus=$work/corpus
mkdir -p "$corpus" "$work/xml"
"$make_folder" "$corpus" "$files" "$total_mb"
find "$corpus" -name '*.txt' -print0 | sort -z >"$work/list"
xargs -0 cat <"$work/list" >/dev/null # warm the page cache
bytes=$(du -sb "$corpus" | cut -f1)
largest=$(find "$corpus" -name '*.txt' -printf '%s\n' | sort -n | tail -1)
echo "folder: $files files, $((bytes / 1000000)) MB, largest file $largest bytes"

best=""
peak_kb=""
timed() { # runs "$@" three times; best seconds in $best, largest peak RSS (KB) in $peak_kb
    best="" peak_kb=0
    for _ in 1 2 3; do
        if [ -n "${before:-}" ]; then eval "$before"; fi
        /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null
        read -r secs kb <"$work/time"
        if [ -z "$best" ] || awk "BEGIN{exit !($secs < $best)}"; then best=$secs; fi
        if [ "$kb" -gt "$peak_kb" ]; then peak_kb=$kb; fi
    done
}
ratio() { awk "BEGIN{printf \"%.2f\", $1 / ($2 > 0.005 ? $2 : 0.005)}"; }

before="" timed sh -c "xargs -0 cat <'$work/list' | iconv -f CP1252 -t UTF-8 >'$work/cat.out'"
cat_iconv=$best
before="rm -rf '$work/xml'/XML*" timed "$batch" export "$corpus" "$work/xml"
export_s=$best export_kb=$peak_kb
declare -A format_s format_kb
for format in csv jsonl sqlite; do
    before="rm -rf '$work/xml'/*" timed "$batch" export "$corpus" "$work/xml" --format "$format"
    format_s[$format]=$best format_kb[$format]=$peak_kb
done
# The folder's only tag outside the vocabulary is its user-defined one.
before="" timed sh -c "'$batch' check --tag 8 '$corpus' >'$work/check.out'"
check_s=$best
before="rm -rf '$work/copy'" timed cp -r "$corpus" "$work/copy"
cp_s=$best
before="rm -rf '$corpus'/untagged_*; sync" timed "$batch" strip-folder "$corpus"
strip_s=$best
# Over the originals every file goes through a temporary file; the batch is synced once.
# A stripped file would be left alone by the next run, so each run gets the tagged
# folder back first.
cp -a "$corpus" "$work/tagged"
before="rm -rf '$corpus'; cp -a '$work/tagged' '$corpus'; sync" \
    timed "$batch" strip-folder --overwrite "$corpus"
overwrite_s=$best

limit_kb=$((64 * 1024 + largest / 1024))
printf '%-40s %8s s\n' "cat | iconv" "$cat_iconv"
printf '%-40s %8s s   ratio %s (target <= 1.5)\n' "quillet-batch export" "$export_s" "$(ratio "$export_s" "$cat_iconv")"
printf '%-40s %8s KB  limit %s KB (64 MB + largest file)\n' "quillet-batch export peak memory" "$export_kb" "$limit_kb"
for format in csv jsonl sqlite; do
    printf '%-40s %8s s   ratio %s to XML (target <= 1.5), peak %s KB\n' \
        "quillet-batch export --format $format" "${format_s[$format]}" \
        "$(ratio "${format_s[$format]}" "$export_s")" "${format_kb[$format]}"
done
printf '%-40s %8s s   ratio %s to XML (target <= 1), %s\n' "quillet-batch check" "$check_s" \
    "$(ratio "$check_s" "$export_s")" "$(tail -1 "$work/check.out")"
printf '%-40s %8s s\n' "cp -r" "$cp_s"
printf '%-40s %8s s   ratio %s (target <= 2)\n' "quillet-batch strip-folder" "$strip_s" "$(ratio "$strip_s" "$cp_s")"
printf '%-40s %8s s   ratio %s to strip-folder (target <= 1.5)\n' "quillet-batch strip-folder --overwrite" "$overwrite_s" "$(ratio "$overwrite_s" "$strip_s")"
