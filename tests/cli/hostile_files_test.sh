#!/usr/bin/env bash
# Folder operations on files that break naive code: NUL bytes, an empty file, a file of
# nothing but CR, a 200 MB file, names with spaces, quotes, umlauts and a leading dash, a
# .txt link to a folder and a dangling .txt link. Each is listed by the rules and
# processed, and nothing else is touched.
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"

src=$work/src
mkdir -p "$src/folder"
printf '{TEXT}a\000b{/TEXT}\000{8}\000{/8}' >"$src/nul.txt"
: >"$src/empty.txt"
printf '\r\r\r' >"$src/cr.txt"
printf '{TITEL}t{/TITEL}' >"$src/with space.txt"
printf '{TITEL}q{/TITEL}' >"$src/quo\"te'.txt"
printf '{TITEL}\344{/TITEL}' >"$src/$(printf '\303\274mlaut').txt"
printf '{TITEL}d{/TITEL}' >"$src/-dash.txt"
ln -s folder "$src/link.txt"
ln -s nowhere "$src/dangling.txt"
# 200 MB: a tagged document whose body repeats.
{
    printf '{TITEL}big{/TITEL}\r\n\r\n{TEXT}'
    yes 'Ein langer Text mit {8}Klammern{/8} und Umlauten \344\366\374.' | head -n 3300000 | sed 's/$/\r/'
    printf '{/TEXT}\r\n\r\n'
} >"$src/big.txt"
listed=(-dash.txt big.txt cr.txt empty.txt nul.txt "quo\"te'.txt" "$(printf '\303\274mlaut').txt" "with space.txt")
cp -a "$src" "$work/before"

if "$bin" strip-folder "$src" >"$work/out" 2>"$work/err"; then ok; else fail "strip-folder: $(cat "$work/err")"; fi
sub=$(find "$src" -maxdepth 1 -type d -name 'untagged_*_8')
[ -n "$sub" ] && ok || fail "no untagged_*_8 folder: $(ls "$src")"
[ "$(ls -A "$sub" | wc -l)" -eq 8 ] && ok || fail "untagged files: $(ls -A "$sub")"
cmp -s "$sub/nul.txt" <(printf 'a\000b\000\000') && ok || fail "nul.txt: $(od -An -c "$sub/nul.txt")"
cmp -s "$sub/cr.txt" <(printf '\r\n\r\n\r\n') && ok || fail "cr.txt: $(od -An -c "$sub/cr.txt")"
[ -f "$sub/empty.txt" ] && [ ! -s "$sub/empty.txt" ] && ok || fail "empty.txt"
cmp -s "$sub/quo\"te'.txt" <(printf 'q') && ok || fail "quote name"
cmp -s "$sub/-dash.txt" <(printf 'd') && ok || fail "dash name"
cmp -s "$sub/$(printf '\303\274mlaut').txt" <(printf '\344') && ok || fail "umlaut name"
"$bin" strip <"$src/big.txt" | cmp -s - "$sub/big.txt" && ok || fail "big.txt differs from the filter's result"
for name in "${listed[@]}"; do
    cmp -s "$src/$name" "$work/before/$name" || fail "original $name changed"
done
[ "$(readlink "$src/link.txt")" = folder ] && [ "$(readlink "$src/dangling.txt")" = nowhere ] && ok ||
    fail "links changed"

dst=$work/dst
mkdir -p "$dst"
if "$bin" export "$src" "$dst" >"$work/out" 2>"$work/err"; then ok; else fail "export: $(cat "$work/err")"; fi
xml=$dst/XML0/XML.xml
if xmllint --huge --noout --schema "$dst/XML0/XML.xsd" "$xml" 2>"$work/lint"; then ok; else fail "schema: $(head -c 300 "$work/lint")"; fi
[ "$(grep -c '^<Daten>' "$xml")" -eq 8 ] && ok || fail "records: $(grep -c '^<Daten>' "$xml")"
grep -q $'^<MainText>a b</MainText>\r$' "$xml" && ok || fail "NUL in a field is not a space"

if "$bin" strip-folder --overwrite "$src" >"$work/out" 2>"$work/err"; then ok; else fail "overwrite: $(cat "$work/err")"; fi
cmp -s "$src/nul.txt" <(printf 'a\000b\000\000') && ok || fail "overwritten nul.txt"
cmp -s "$src/big.txt" "$sub/big.txt" && ok || fail "overwritten big.txt"
[ "$(readlink "$src/link.txt")" = folder ] && [ -d "$src/folder" ] && ok || fail "overwrite touched the link"

finish
