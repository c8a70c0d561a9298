#!/usr/bin/env bash
# Runs quillet-batch strip-folder and export on real folders: the files they write byte for
# byte, the messages and exit codes, the schema check of an export, and the failures that
# only an unprivileged user meets (a file it may not read, a file it may not write).
set -u
bin=$1
work=$(mktemp -d)
trap 'chmod -R u+rwX "$work" 2>/dev/null; rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"
expect_file() { # name path printf-bytes
    if cmp -s "$2" <(printf "$3"); then ok; else fail "$1: $(od -An -c "$2" 2>&1 | tr -s ' ')"; fi
}
run() { # expected-exit args...: output in $work/out and $work/err
    local want=$1; shift
    "$@" >"$work/out" 2>"$work/err"
    rc=$?
    [ "$rc" -eq "$want" ]
}

# --- strip-folder, subfolder mode: originals kept, stripped copies in untagged_<date>_<n>
src="$work/strip"
mkdir -p "$src/sub.txt"
printf '{TITEL}t{/TITEL}\r\n\r\n{TEXT}body{/TEXT}\r\n\r\n' >"$src/a.txt"
printf 'lone\nline' >"$src/B.TXT"
printf 'not listed' >"$src/c.text"
if run 0 "$bin" strip-folder "$src"; then ok; else fail "strip-subfolder: exit $rc $(cat "$work/err")"; fi
grep -qx 'Alle Dateien wurden erfolgreich bearbeitet und gespeichert!' "$work/out" && ok || fail "strip-subfolder: stdout $(cat "$work/out")"
[ ! -s "$work/err" ] && ok || fail "strip-subfolder: stderr not empty without a terminal"
sub=$(find "$src" -maxdepth 1 -name 'untagged_*_2' -type d)
[ -n "$sub" ] && ok || fail "strip-subfolder: no untagged_*_2 in $(ls "$src")"
expect_file strip-subfolder-a "$sub/a.txt" 't\r\n\r\nbody\r\n\r\n'
expect_file strip-subfolder-b "$sub/B.TXT" 'lone\r\nline'
expect_file strip-subfolder-original "$src/a.txt" '{TITEL}t{/TITEL}\r\n\r\n{TEXT}body{/TEXT}\r\n\r\n'
[ "$(ls "$sub" | wc -l)" -eq 2 ] && ok || fail "strip-subfolder: extra files $(ls "$sub")"

# --- overwrite mode with sorting first
src="$work/over"
mkdir -p "$src"
printf '{TEXT}body{/TEXT}\r\n\r\n{TITEL}t{/TITEL}\r\n\r\n' >"$src/a.txt"
if run 0 "$bin" strip-folder --sort "$src" --overwrite; then ok; else fail "strip-overwrite: exit $rc"; fi
expect_file strip-overwrite-sorted "$src/a.txt" '\r\n\r\nt\r\n\r\nbody\r\n\r\n'
[ "$(ls -A "$src")" = a.txt ] && ok || fail "strip-overwrite: left $(ls -A "$src")"

# --- export: bytes, schema copy, and the schema check of xmllint
src="$work/xsrc"
dst="$work/xdst"
mkdir -p "$src" "$dst/XML0"
printf '{TITEL}M\374ller & S\366hne <GmbH>{/TITEL}\r\n{TEXT}\200 a\001b\n{/TEXT}' >"$src/a.txt"
printf 'no tags' >"$src/b.txt"
if run 0 "$bin" export "$src" "$dst"; then ok; else fail "export: exit $rc $(cat "$work/err")"; fi
printf 'Die XML-Daten wurden im folgenden Verzeichnis gespeichert: \n%s%sXML1%s\n' "$dst" "$sep" "$sep" >"$work/want"
cmp -s "$work/out" "$work/want" && ok || fail "export: stdout $(cat "$work/out")"
expect_file export-xml "$dst/XML1/XML.xml" '<?xml version="1.0" encoding="UTF-8"?>\r\n<dataroot xmlns:od="urn:schemas-microsoft-com:officedata" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"  xsi:noNamespaceSchemaLocation="XML.xsd">\r\n<Daten>\r\n<ID>0</ID>\r\n<MainTitel>M\303\274ller &amp; S\303\266hne &lt;GmbH&gt;</MainTitel>\r\n<MainText>\342\202\254 a b\r\n</MainText>\r\n</Daten>\r\n<Daten>\r\n<ID>1</ID>\r\n</Daten>\r\n</dataroot>\r\n'
cmp -s "$dst/XML1/XML.xsd" "$(dirname "$bin")/XML_Vorlage/XML.xsd" && ok || fail "export: schema not copied"
if xmllint --noout --schema "$dst/XML1/XML.xsd" "$dst/XML1/XML.xml" 2>"$work/lint"; then ok; else fail "export-schema: $(cat "$work/lint")"; fi
# A long body text and every field, against the schema too.
{
    printf '{MEDIUM}m{/MEDIUM}{OBERTITEL}o{/OBERTITEL}{TITEL}t{/TITEL}{UNTERTITEL}u{/UNTERTITEL}'
    printf '{E_DATUM}e{/E_DATUM}{A_DATUM}d{/A_DATUM}{THEMA}s{/THEMA}{QUELLE}q{/QUELLE}'
    printf '{AUTOR}a{/AUTOR}{SEITE}1{/SEITE}{TEXT}'
    head -c 300000 /dev/urandom
    printf '{/TEXT}'
} >"$src/c.txt"
if run 0 "$bin" export "$src" "$dst" &&
    xmllint --noout --schema "$dst/XML2/XML.xsd" "$dst/XML2/XML.xml" 2>"$work/lint"; then ok; else
    fail "export-schema-every-field: $(head -c 300 "$work/lint")"; fi
if run 0 "$bin" export "$work/over" "$dst" &&
    xmllint --noout --schema "$dst/XML3/XML.xsd" "$dst/XML3/XML.xml" 2>"$work/lint"; then ok; else
    fail "export-schema-no-tags: $(cat "$work/lint")"; fi

# --- failures: message on stderr, nothing on stdout, exit 1
if run 1 "$bin" export "$work/missing" "$dst"; then ok; else fail "export-missing-source: exit $rc"; fi
grep -qx 'Quellverzeichnis existiert nicht!' "$work/err" && [ ! -s "$work/out" ] && ok || fail "export-missing-source: $(cat "$work/err")"
if run 1 "$bin" export "$src" "$work/missing"; then ok; else fail "export-missing-target: exit $rc"; fi
grep -qx 'Zielverzeichnis existiert nicht!' "$work/err" && ok || fail "export-missing-target: $(cat "$work/err")"
mkdir -p "$work/empty"
if run 1 "$bin" strip-folder "$work/empty"; then ok; else fail "strip-empty: exit $rc"; fi
grep -qx 'Keine Textdateien im Verzeichnis! Wenn doch, dann bitte erneut das Verzeichnis laden!' "$work/err" && ok || fail "strip-empty: $(cat "$work/err")"
[ "$(ls -A "$work/empty")" = "" ] && ok || fail "strip-empty: wrote $(ls -A "$work/empty")"

# --- check's exit status, as grep's: 0 nothing found, 1 findings, 2 it could not check
mkdir -p "$work/good"
printf '{TITEL}t{/TITEL}\r\n' >"$work/good/a.txt"
# status  what it says                                  arguments (and where stdout goes)
cases=(
    "0 no findings in 1 file                            check $work/good"
    "1 2 findings in 1 of 2 files                       check $work/strip"
    "2 Quellverzeichnis existiert nicht!                check $work/missing"
    "2 quillet-batch: cannot write standard output      check $work/good >/dev/full"
)
for row in "${cases[@]}"; do
    read -r want rest <<<"$row"
    said=$(sed -E 's/ {2,}.*//' <<<"$rest")
    args=$(sed -E 's/.* {2,}//' <<<"$rest")
    eval "\"\$bin\" $args" >>"$work/out" 2>"$work/err"
    rc=$?
    [ $rc -eq "$want" ] && grep -qxF "$said" "$work/out" "$work/err" && ok || fail "status of '$args': exit $rc $(cat "$work/err")"
    : >"$work/out"
done

# --- exports racing into one target: each claims a folder of its own, none is lost
race="$work/race"
mkdir -p "$race"
printf '{TITEL}r{/TITEL}' >"$race/a.txt"
lost=0
for round in $(seq 1 40); do
    target="$work/race$round"
    mkdir "$target"
    pids=()
    for j in 1 2 3 4 5 6 7 8; do "$bin" export "$race" "$target" >"$work/race.out$j" 2>&1 & pids+=($!); done
    status=0
    for p in "${pids[@]}"; do wait "$p" || status=1; done
    named=$(for j in 1 2 3 4 5 6 7 8; do tail -1 "$work/race.out$j"; done | sort -u | wc -l)
    if [ $status -ne 0 ] || [ "$named" -ne 8 ] || [ "$(find "$target" -name XML.xml | wc -l)" -ne 8 ]; then
        lost=$((lost + 1))
    fi
    rm -rf "$target"
done
[ $lost -eq 0 ] && ok || fail "race: $lost of 40 rounds of 8 exports at once lost an export"

# --- usage errors
for args in "strip-folder" "strip-folder a b" "strip-folder --force x" "export one" "export a b c" \
    "check" "check a b" "check --tag"; do
    # shellcheck disable=SC2086
    if run 2 "$bin" $args; then ok; else fail "usage '$args': exit $rc"; fi
done

# --- as an unprivileged user: a file that cannot be read, a file that may not be written
if on_windows; then
    echo "SKIP unprivileged cases: POSIX owners and modes"
elif command -v setpriv >/dev/null && [ "$(id -u)" -eq 0 ]; then
    # The build tree need not be open to others; run a copy from a folder that is.
    tool="$work/tool"
    mkdir -p "$tool"
    cp "$bin" "$tool/" && cp -r "$(dirname "$bin")/XML_Vorlage" "$tool/"
    chmod -R a+rX "$work"
    chmod a+rwx "$work"
    asNobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
    u="$work/unreadable"
    mkdir -p "$u/out"
    printf '{A}1' >"$u/a.txt"
    printf '{B}2' >"$u/b.txt"
    printf '{C}3' >"$u/c.txt"
    chown -R nobody "$u"
    chmod 000 "$u/b.txt"
    if run 1 asNobody "$tool/quillet-batch" strip-folder "$u" --overwrite; then ok; else fail "unreadable-strip: exit $rc"; fi
    printf 'Datei %s/b.txt kann nicht ge\303\266ffnet werden.\n' "$u" >"$work/want"
    cmp -s "$work/err" "$work/want" && ok || fail "unreadable-strip: stderr $(cat "$work/err")"
    [ ! -s "$work/out" ] && ok || fail "unreadable-strip: success printed"
    expect_file unreadable-strip-before "$u/a.txt" '1'
    expect_file unreadable-strip-after "$u/c.txt" '{C}3'
    if run 1 asNobody "$tool/quillet-batch" export "$u" "$u/out"; then ok; else fail "unreadable-export: exit $rc"; fi
    # A failed export takes its folder away again.
    [ ! -e "$u/out/XML0" ] && [ -z "$(ls -A "$u/out")" ] && ok || fail "unreadable-export: left $(ls -A "$u/out")"
    grep -q 'b.txt kann nicht ge' "$work/err" && ok || fail "unreadable-export: $(cat "$work/err")"
    # A folder that cannot be read is said so, never taken for one without text files.
    chmod 000 "$u"
    for command in "2 check $u" "1 strip-folder $u" "1 export $u $work"; do
        # shellcheck disable=SC2086
        run ${command%% *} asNobody "$tool/quillet-batch" ${command#* } &&
            grep -qx "quillet-batch: cannot read the folder $u" "$work/err" && ok ||
            fail "unreadable folder, ${command#* }: exit $rc $(cat "$work/err")"
    done
    chmod 755 "$u"

    # A file of another user's that a new file could not be given: rewritten in place,
    # owner, group and mode kept.
    o="$work/others"
    mkdir -p "$o"
    printf '{A}1' >"$o/a.txt"
    chmod 0666 "$o/a.txt"
    chown nobody "$o"
    if run 0 asNobody "$tool/quillet-batch" strip-folder "$o" --overwrite; then ok; else fail "others-strip: exit $rc $(cat "$work/err")"; fi
    expect_file others-strip "$o/a.txt" '1'
    [ "$(stat -c '%u %g %a' "$o/a.txt")" = "0 0 666" ] && ok || fail "others-strip: $(stat -c '%u %g %a' "$o/a.txt")"
    [ "$(ls -A "$o")" = a.txt ] && ok || fail "others-strip: left $(ls -A "$o")"

    r="$work/readonly"
    mkdir -p "$r"
    printf '{A}1' >"$r/a.txt"
    printf '{B}2' >"$r/b.txt"
    chown -R nobody "$r"
    chmod 444 "$r/b.txt"
    if run 1 asNobody "$tool/quillet-batch" strip-folder "$r" --overwrite; then ok; else fail "readonly-strip: exit $rc"; fi
    grep -qx "Datei $r/b.txt kann nicht erstellt werden." "$work/err" && ok || fail "readonly-strip: $(cat "$work/err")"
    expect_file readonly-strip-kept "$r/b.txt" '{B}2'
    [ "$(ls -A "$r" | wc -l)" -eq 2 ] && ok || fail "readonly-strip: left $(ls -A "$r")"
else
    echo "SKIP unprivileged cases: needs root and setpriv"
fi

# --- the progress bar appears on a terminal only (under Wine a terminal is Wine's console,
# which redraws the line its own way)
if command -v script >/dev/null && ! on_windows; then
    script -qec "'$bin' export '$src' '$dst'" /dev/null >"$work/tty" 2>&1
    grep -q '100% 3/3' "$work/tty" && ok || fail "progress-on-terminal: $(cat -v "$work/tty" | head -c 300)"
fi

finish
