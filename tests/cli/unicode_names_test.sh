#!/usr/bin/env bash
# Names beyond Windows-1252, in a folder named so too: Greek, a German umlaut, and a
# character outside the Basic Multilingual Plane (two UTF-16 units on Windows). The export
# holds one record for each file under its own name, and the tags come off into files of
# the same names.
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"

src="$work/Quellen $(printf '\316\232\316\261\316\273\316\254')" # Greek "Kala"
dst=$work/dst
mkdir -p "$src" "$dst"
names=("$(printf '\316\225\316\273\316\273\316\267\316\275\316\271\316\272\316\254').txt" # Ελληνικά
    "$(printf 'M\303\274ller').txt"                                                     # Müller
    "$(printf 'Noten \360\235\204\236').txt")                                           # U+1D11E
for i in 0 1 2; do
    printf '{TITEL}Titel %d{/TITEL}\r\n\r\n{TEXT}M\374ller{/TEXT}' "$i" >"$src/${names[$i]}"
done

if "$bin" export "$src" "$dst" --format jsonl >"$work/out" 2>&1; then ok; else fail "export: $(cat "$work/out")"; fi
# Each name with the title written into its file, whatever the order of the list.
python3 - "$dst/JSONL0/Daten.jsonl" "${names[@]}" <<'PY' && ok || fail "records: $(cat "$dst/JSONL0/Daten.jsonl")"
import json, sys
rows = [json.loads(line) for line in open(sys.argv[1], encoding="utf-8")]
want = {name: "Titel %d" % i for i, name in enumerate(sys.argv[2:])}
assert {r["FileName"]: r["MainTitel"] for r in rows} == want, rows
assert all(r["MainText"] == "M\u00fcller" for r in rows), rows
PY

if "$bin" strip-folder "$src" >"$work/out" 2>&1; then ok; else fail "strip-folder: $(cat "$work/out")"; fi
sub=$(find "$src" -maxdepth 1 -type d -name 'untagged_*_3')
[ -n "$sub" ] && ok || fail "no untagged_*_3 in $(ls "$src")"
for i in 0 1 2; do
    cmp -s "$sub/${names[$i]}" <(printf 'Titel %d\r\n\r\nM\374ller' "$i") && ok ||
        fail "stripped ${names[$i]}: $(ls "$sub" 2>&1)"
done
[ "$(ls "$sub" | wc -l)" -eq 3 ] && ok || fail "untagged files: $(ls "$sub")"
finish
