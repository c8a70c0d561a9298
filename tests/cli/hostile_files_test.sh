#!/usr/bin/env bash
# Folder operations on files that break naive code: NUL bytes, an empty file, a file of
# nothing but CR, a 200 MB file, names with spaces, quotes, umlauts and a leading dash,
# names that are not UTF-8 and a .txt link to a folder. Each is listed by the rules and
# processed, and nothing else is touched. Then what is no file behind a .txt name (a FIFO,
# /dev/zero, a socket, a device, a link to one of them or to nothing), which is listed,
# fails as a file that cannot be opened and is never read, waited for or replaced; and
# inputs larger than memory, which must end in the program's own message. On Windows the
# names and links that its file systems cannot have are left out.
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"

src=$work/src
mkdir -p "$src/folder"
# NUL bytes in a file; on Windows not in nul.txt, which is the name of a device there.
nul=nul.txt
if on_windows; then nul=nul-bytes.txt; fi
printf '{TEXT}a\000b{/TEXT}\000{8}\000{/8}' >"$src/$nul"
: >"$src/empty.txt"
printf '\r\r\r' >"$src/cr.txt"
printf '{TITEL}t{/TITEL}' >"$src/with space.txt"
printf '{TITEL}\344{/TITEL}' >"$src/$(printf '\303\274mlaut').txt"
printf '{TITEL}d{/TITEL}' >"$src/-dash.txt"
latin1=$(printf 'M\374ller.txt')  # a Latin-1 name from an old archive
broken=$(printf 'cut\303(.txt')   # a UTF-8 sequence cut short
if ! on_windows; then
    printf '{TITEL}q{/TITEL}' >"$src/quo\"te'.txt"
    printf '{TITEL}l{/TITEL}' >"$src/$latin1"
    printf '{TITEL}b{/TITEL}' >"$src/$broken"
    ln -s folder "$src/link.txt"
fi
# 200 MB: a tagged document whose body repeats.
{
    printf '{TITEL}big{/TITEL}\r\n\r\n{TEXT}'
    yes 'Ein langer Text mit {8}Klammern{/8} und Umlauten \344\366\374.' | head -n 3300000 | sed 's/$/\r/'
    printf '{/TEXT}\r\n\r\n'
} >"$src/big.txt"
listed=(-dash.txt big.txt cr.txt empty.txt "$nul" "$(printf '\303\274mlaut').txt" "with space.txt")
on_windows || listed+=("quo\"te'.txt" "$latin1" "$broken")
count=${#listed[@]}
cp -a "$src" "$work/before"

if "$bin" strip-folder "$src" >"$work/out" 2>"$work/err"; then ok; else fail "strip-folder: $(cat "$work/err")"; fi
sub=$(find "$src" -maxdepth 1 -type d -name "untagged_*_$count")
[ -n "$sub" ] && ok || fail "no untagged_*_$count folder: $(ls "$src")"
[ "$(ls -A "$sub" | wc -l)" -eq "$count" ] && ok || fail "untagged files: $(ls -A "$sub")"
cmp -s "$sub/$nul" <(printf 'a\000b\000\000') && ok || fail "$nul: $(od -An -c "$sub/$nul")"
cmp -s "$sub/cr.txt" <(printf '\r\n\r\n\r\n') && ok || fail "cr.txt: $(od -An -c "$sub/cr.txt")"
[ -f "$sub/empty.txt" ] && [ ! -s "$sub/empty.txt" ] && ok || fail "empty.txt"
cmp -s "$sub/-dash.txt" <(printf 'd') && ok || fail "dash name"
cmp -s "$sub/$(printf '\303\274mlaut').txt" <(printf '\344') && ok || fail "umlaut name"
if ! on_windows; then
    cmp -s "$sub/quo\"te'.txt" <(printf 'q') && ok || fail "quote name"
    cmp -s "$sub/$latin1" <(printf 'l') && ok || fail "Latin-1 name"
    cmp -s "$sub/$broken" <(printf 'b') && ok || fail "name with a broken sequence"
fi
"$bin" strip <"$src/big.txt" | cmp -s - "$sub/big.txt" && ok || fail "big.txt differs from the filter's result"
for name in "${listed[@]}"; do
    cmp -s "$src/$name" "$work/before/$name" || fail "original $name changed"
done
if ! on_windows; then
    [ "$(readlink "$src/link.txt")" = folder ] && ok || fail "link changed"
fi

dst=$work/dst
mkdir -p "$dst"
if "$bin" export "$src" "$dst" >"$work/out" 2>"$work/err"; then ok; else fail "export: $(cat "$work/err")"; fi
xml=$dst/XML0/XML.xml
if xmllint --huge --noout --schema "$dst/XML0/XML.xsd" "$xml" 2>"$work/lint"; then ok; else fail "schema: $(head -c 300 "$work/lint")"; fi
[ "$(grep -c '^<Daten>' "$xml")" -eq "$count" ] && ok || fail "records: $(grep -c '^<Daten>' "$xml")"
grep -q $'^<MainText>a b</MainText>\r$' "$xml" && ok || fail "NUL in a field is not a space"

if "$bin" strip-folder --overwrite "$src" >"$work/out" 2>"$work/err"; then ok; else fail "overwrite: $(cat "$work/err")"; fi
cmp -s "$src/$nul" <(printf 'a\000b\000\000') && ok || fail "overwritten $nul"
cmp -s "$src/big.txt" "$sub/big.txt" && ok || fail "overwritten big.txt"
if ! on_windows; then
    [ "$(readlink "$src/link.txt")" = folder ] && [ -d "$src/folder" ] && ok || fail "overwrite touched the link"
    cmp -s "$src/$latin1" <(printf 'l') && ok || fail "overwritten Latin-1 name"
fi

if on_windows; then
    echo "SKIP what is no file behind a .txt name, and memory limits: POSIX only"
    finish
    exit
fi

# Whether the tool starts under a 1 GB address-space limit; a sanitizer build does not.
limited() { (ulimit -v 1000000 && "$@"); }
if limited "$bin" --help >/dev/null 2>&1; then can_limit=1; else can_limit=0; fi

# --- what is no file behind a .txt name: listed like any file, so each command stops at it
# with the message of a file that cannot be opened (the files before it done, those behind
# it not), check names it; never read or waited for (a hang fails by the timeout), and
# what it is or leads to is left as it was, in overwrite mode too
kinds=$work/kinds
# kind        | make the entry $e, the name between a.txt and z.txt | still as it was
cases=(
    "fifo         | mkfifo \$kinds/thing && ln -s \$kinds/thing \$e | test -p \$kinds/thing && test -L \$e"
    "fifo-itself  | mkfifo \$e                                      | test -p \$e"
    "zero         | ln -s /dev/zero \$e                             | test -c /dev/zero && test -L \$e"
    "socket       | python3 -c 'import socket,sys;socket.socket(socket.AF_UNIX).bind(sys.argv[1])' \$kinds/thing && ln -s \$kinds/thing \$e | test -S \$kinds/thing && test -L \$e"
    "device       | mknod \$kinds/thing c 1 3 && ln -s \$kinds/thing \$e | test -c \$kinds/thing && test -L \$e"
    "dangling     | ln -s nowhere \$e                               | [ \"\$(readlink \$e)\" = nowhere ]"
)
for row in "${cases[@]}"; do
    IFS='|' read -r kind make still <<<"$row"
    kind=${kind// /}
    if [ "$kind" = device ] && [ "$(id -u)" -ne 0 ]; then
        echo "SKIP a device behind a link: mknod needs root"
        continue
    fi
    rm -rf "$kinds"
    mkdir -p "$kinds/in" "$kinds/out"
    printf '{A}1' >"$kinds/in/a.txt"
    printf '{Z}3' >"$kinds/in/z.txt"
    e=$kinds/in/m-$kind.txt
    eval "$make" || { fail "$kind: cannot make one"; continue; }
    printf 'Datei %s kann nicht ge\303\266ffnet werden.\n' "$e" >"$work/want"
    for args in "strip-folder $kinds/in" "strip-folder --overwrite $kinds/in" "export $kinds/in $kinds/out" \
        "check $kinds/in"; do
        # shellcheck disable=SC2086
        if [ $can_limit -eq 1 ]; then limited timeout 20 "$bin" $args; else timeout 20 "$bin" $args; fi >"$work/out" 2>"$work/err"
        rc=$?
        if [ "${args%% *}" = check ]; then
            grep -qxF "$e:1: the file cannot be opened" "$work/out" && grep -q ' of 3 files$' "$work/out"
        else
            cmp -s "$work/err" "$work/want"
        fi && [ $rc -eq 1 ] && ok ||
            fail "$kind: $args: exit $rc $([ $rc -eq 124 ] && echo '(hung)') $(cat "$work/out" "$work/err")"
    done
    sub=$(find "$kinds/in" -maxdepth 1 -type d -name 'untagged_*_3')
    [ -n "$sub" ] && [ "$(ls -A "$sub")" = a.txt ] && ok || fail "$kind: untagged folder: $(ls -A "$kinds/in" "$sub")"
    eval "$still" && ok || fail "$kind: what the entry is or leads to was replaced"
    cmp -s "$kinds/in/a.txt" <(printf '1') && cmp -s "$kinds/in/z.txt" <(printf '{Z}3') && ok ||
        fail "$kind: overwrite did not stop at the entry"
    [ -z "$(ls -A "$kinds/out")" ] && ok || fail "$kind: the export left $(ls -A "$kinds/out")"
done

# --- check shows a name that is no UTF-8 by its Windows-1252 characters, as the messages do
names=$work/$(printf 'Alt\344')
mkdir -p "$names"
printf 'ohne Tag' >"$names/$latin1"
"$bin" check "$names" >"$work/out" 2>"$work/err"
rc=$?
printf '%s/Alt\303\244/M\303\274ller.txt:1: no tag in the file\n1 finding in 1 of 1 file\n' "$work" >"$work/want"
[ $rc -eq 1 ] && cmp -s "$work/out" "$work/want" && ok || fail "check of a Latin-1 name: exit $rc $(cat -v "$work/out")"

# --- more than memory holds, under a 1 GB limit: the file cannot be opened (or standard
# input cannot be read), said in the program's words with exit 1, never an abort
if [ $can_limit -eq 1 ]; then
    huge=$work/huge
    # size of the sparse file, and the command
    cases=(
        "1T   strip-folder"
        "4G   strip-folder"
        "900M strip-folder"
        "900M export"
    )
    for row in "${cases[@]}"; do
        read -r size command <<<"$row"
        rm -rf "$huge"
        mkdir -p "$huge/out"
        truncate -s "$size" "$huge/huge.txt"
        args=("$huge")
        [ "$command" = export ] && args+=("$huge/out")
        limited timeout 120 "$bin" "$command" "${args[@]}" >/dev/null 2>"$work/err"
        rc=$?
        printf 'Datei %s/huge.txt kann nicht ge\303\266ffnet werden.\n' "$huge" >"$work/want"
        [ $rc -eq 1 ] && cmp -s "$work/err" "$work/want" && ok ||
            fail "$size $command: exit $rc, $(head -c 300 "$work/err")"
        [ -z "$(ls -A "$huge/out")" ] && [ "$(ls -A "$huge")" = "$(printf 'huge.txt\nout')" ] && ok ||
            fail "$size $command: left $(ls -A "$huge" "$huge/out")"
    done
    truncate -s 4G "$huge/huge.txt"
    limited timeout 120 "$bin" sort <"$huge/huge.txt" >/dev/null 2>"$work/err"
    rc=$?
    [ $rc -eq 1 ] && grep -qx 'quillet-batch: cannot read standard input' "$work/err" && ok ||
        fail "sort < 4 GB: exit $rc, $(head -c 300 "$work/err")"
    rm -rf "$huge"
else
    echo "SKIP inputs larger than memory: this build does not start under ulimit -v"
fi
"$bin" sort <"$work" >/dev/null 2>"$work/err"
rc=$?
[ $rc -eq 1 ] && grep -qx 'quillet-batch: cannot read standard input' "$work/err" && ok ||
    fail "sort < folder: exit $rc, $(cat "$work/err")"

finish
