#!/usr/bin/env bash
# Exports one folder in every format and reads each back with a real consumer: Python's
# csv and json modules and its sqlite3 module, and the sqlite3 shell. Every format must
# hold the XML's records (read by Python's XML parser) plus the file names; then the
# format's own rules: the CSV's byte order mark and CR LF rows, the JSON's escapes, the
# table's NULLs, and the check of the same folder. The Windows build has no SQLite: it
# must say so.
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"

src=$work/src dst=$work/dst
mkdir -p "$src" "$dst"
# Windows-1252 files: umlauts, quotes, a comma and a line break in one field, XML's
# specials, the euro sign, a control byte, a section never closed, no tag at all, and a
# name that is not UTF-8 (on Windows, where every name is Unicode, the same name in UTF-8).
printf '{TITEL}M\374ller sagt "ja", dann\r\nnein{/TITEL}\r\n\r\n{TEXT}\200 5 & <b>{/TEXT}{AUTOR}A{/AUTOR}' >"$src/a.txt"
printf 'keine Tags\r\n' >"$src/b.txt"
printf '{MEDIUM}offen\r\n{TEXT}x\001y{/TEXT}' >"$src/c.txt"
if on_windows; then
    printf '{QUELLE}q{/QUELLE}' >"$src/$(printf 'S\303\274d.txt')"
    formats=(xml csv jsonl)
    "$bin" export "$src" "$dst" --format sqlite >"$work/out" 2>&1
    rc=$?
    [ $rc -eq 1 ] && [ "$(cat "$work/out")" = "quillet-batch: this build has no SQLite export" ] &&
        ok || fail "sqlite without SQLite: exit $rc, $(cat "$work/out")"
else
    printf '{QUELLE}q{/QUELLE}' >"$src/$(printf 'S\374d.txt')"
    formats=(xml csv jsonl sqlite)
fi

for format in "${formats[@]}"; do
    if "$bin" export "$src" "$dst" --format "$format" >"$work/out" 2>&1; then ok; else
        fail "export --format $format: $(cat "$work/out")"; fi
done
"$bin" export "$src" "$dst" --format yaml >/dev/null 2>&1
[ $? -eq 2 ] && ok || fail "an unknown format is no usage error"
folders=$(printf '%s\n' "${formats[@]}" | sed 's/xml/XML0/; s/csv/CSV0/; s/jsonl/JSONL0/; s/sqlite/SQLite0/' | sort)
[ "$(ls "$dst")" = "$folders" ] && ok || fail "folders: $(ls "$dst")"

python3 - "$dst" "${formats[@]}" <<'PY' && ok || fail "the formats disagree with the XML"
import csv, json, sqlite3, sys, xml.etree.ElementTree as ET
dst = sys.argv[1]
fields = ["Medium", "FirstTitel", "MainTitel", "SecondTitel", "TextDate", "CurrentDate",
          "Subject", "Source", "Author", "Page", "MainText"]
names = ["a.txt", "b.txt", "c.txt", "S\u00fcd.txt"]
# The XML parser turns CR LF into LF and the XML turns control bytes into spaces.
def as_in_xml(v):
    return None if v is None else "".join(
        " " if ord(c) < 32 and c not in "\t\r\n" else c for c in v.replace("\r\n", "\n"))
want = []
for rec in ET.parse(dst + "/XML0/XML.xml").getroot().findall("Daten"):
    row = {"ID": int(rec.find("ID").text)}
    for f in fields:
        e = rec.find(f)
        row[f] = None if e is None else (e.text or "")
    want.append(row)
assert [r["ID"] for r in want] == [0, 1, 2, 3], want

def agree(kind, rows, absent):
    assert len(rows) == len(want), (kind, rows)
    for got, w, name in zip(rows, want, names):
        assert got["ID"] == w["ID"] and got["FileName"] == name, (kind, got)
        for f in fields:
            expected = absent if w[f] is None else w[f]
            assert as_in_xml(got[f]) == expected, (kind, f, got[f], expected)

with open(dst + "/CSV0/Daten.csv", newline="", encoding="utf-8-sig") as f:
    rows = list(csv.DictReader(f))
assert list(rows[0].keys()) == ["ID", "FileName"] + fields, rows[0].keys()
agree("csv", [dict(r, ID=int(r["ID"])) for r in rows], "")
with open(dst + "/JSONL0/Daten.jsonl", encoding="utf-8") as f:
    lines = f.read().split("\n")
assert lines[-1] == "" and all(lines[:-1]), lines
agree("jsonl", [json.loads(l) for l in lines[:-1]], None)
if "sqlite" in sys.argv[2:]:
    db = sqlite3.connect(dst + "/SQLite0/Daten.sqlite")
    db.row_factory = sqlite3.Row
    agree("sqlite", [dict(r) for r in db.execute("SELECT * FROM Daten ORDER BY ID")], None)
# What the XML cannot carry: a line break as CR LF, a control byte, empty against absent.
assert rows[0]["MainTitel"] == 'M\u00fcller sagt "ja", dann\r\nnein'
assert json.loads(lines[2])["MainText"] == "x\x01y" and json.loads(lines[2])["Medium"] == ""
PY

csv_bytes=$(head -c 3 "$dst/CSV0/Daten.csv" | od -An -tx1 | tr -d ' ')
[ "$csv_bytes" = efbbbf ] && ok || fail "CSV starts with $csv_bytes, not the byte order mark"
[ "$(grep -c $'\r$' "$dst/CSV0/Daten.csv")" -eq 6 ] && ok || fail "CSV rows not ended by CR LF"
grep -q 'x\\u0001y' "$dst/JSONL0/Daten.jsonl" && ok || fail "JSON control byte not escaped"
# The sqlite3 shell: every record there, a field with umlauts, quotes and a line break,
# NULL where a tag is missing.
if ! on_windows; then
    got=$(sqlite3 "$dst/SQLite0/Daten.sqlite" "SELECT count(*) FROM Daten;" \
        "SELECT MainTitel FROM Daten WHERE FileName = 'a.txt';" \
        "SELECT count(*) FROM Daten WHERE MainText IS NULL;")
    want=$(printf '4\nM\303\274ller sagt "ja", dann\r\nnein\n2')
    [ "$got" = "$want" ] && ok || fail "sqlite3 shell: $(printf '%s' "$got" | od -c | head -5)"
fi

# The check of the same folder names the faults the exports carried along quietly.
"$bin" check "$src" >"$work/check"
[ $? -eq 1 ] && ok || fail "check: exit status without a finding"
printf '%s\n' "$src${sep}b.txt:1: no tag in the file" "$src${sep}c.txt:1: section {MEDIUM} is opened but never closed" \
    "2 findings in 2 of 4 files" >"$work/want"
cmp -s "$work/check" "$work/want" && ok || fail "check: $(cat "$work/check")"
finish
