#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it as a user's system would: the
# desktop entry and the AppStream data validate, lintian finds nothing at all, the
# dependencies are declared, and the package unpacked into a scratch root runs
# quillet-batch, has manual pages that man finds and shows without a warning, and a bash
# completion that offers what quillet-batch accepts.
# usage: deb_test.sh BUILD_DIR SOURCE_DIR
set -u
build=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$source/tests/support/check.sh"
app_id=org.quillet.Quillet

desktop-file-validate "$source/app/resources/$app_id.desktop" >"$work/out" 2>&1 && [ ! -s "$work/out" ] &&
    ok || fail "desktop-file-validate: $(cat "$work/out")"
appstreamcli validate --no-net "$build/app/$app_id.metainfo.xml" >"$work/out" 2>&1 &&
    ok || fail "appstreamcli: $(cat "$work/out")"

cpack -G DEB -B "$work/pkg" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
    { fail "cpack: $(tail -20 "$work/cpack.log")"; finish; exit; }
deb=$(ls "$work"/pkg/quillet_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { fail "no package in $(ls "$work/pkg")"; finish; exit; }

lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 &&
    ! grep -q '^[EW]: ' "$work/lintian" && ok || fail "lintian: $(cat "$work/lintian")"

depends=$(dpkg-deb -f "$deb" Depends)
for d in libc6 libqt6core6 libqt6widgets6 libsqlite3-0 qt6-qpa-plugins libqt6svg6; do
    grep -q "\b$d\b" <<<"$depends" && ok || fail "Depends lacks $d: $depends"
done
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/files"
for f in ./usr/bin/quillet ./usr/bin/quillet-batch ./usr/share/quillet/XML_Vorlage/XML.xsd \
    "./usr/share/applications/$app_id.desktop" "./usr/share/metainfo/$app_id.metainfo.xml" \
    "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" ./usr/share/doc/quillet/copyright \
    ./usr/share/man/man1/quillet.1.gz ./usr/share/man/man1/quillet-batch.1.gz \
    ./usr/share/bash-completion/completions/quillet-batch; do
    grep -qx -- "$f" "$work/files" && ok || fail "package lacks $f"
done

root=$work/root
dpkg -x "$deb" "$root"
"$root/usr/bin/quillet-batch" --help >"$work/help" 2>&1 && grep -q '^  export ' "$work/help" &&
    ok || fail "quillet-batch --help from the package: $(cat "$work/help")"

# The manual pages as man finds them by name once installed, without a formatting warning;
# quillet-batch's holds every command and the exit statuses of its --help.
for page in quillet quillet-batch; do
    MANWIDTH=80 man --warnings -M "$root/usr/share/man" "$page" >"$work/$page.page" 2>"$work/warnings" &&
        [ ! -s "$work/warnings" ] && grep -q "^NAME" "$work/$page.page" && ok ||
        fail "man $page: $(cat "$work/warnings")"
done
commands=$(grep -oE '^  [a-z][a-z0-9-]+ ' "$work/help" | tr -d ' ')
for c in $commands "Exit status"; do
    grep -q -- "^ *$c" "$work/quillet-batch.page" && ok || fail "man quillet-batch lacks '$c'"
done

# The completion, called as bash calls it: COMP_WORDS and COMP_CWORD set, COMPREPLY read.
complete_line() {
    bash -c '. "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _quillet_batch
        printf "%s\n" "${COMPREPLY[@]}" | sort' _ "$root/usr/share/bash-completion/completions/quillet-batch" "$@"
}
mkdir -p "$work/folder one" "$work/folder two"
: >"$work/folder file.txt"
[ "$(complete_line quillet-batch '')" = "$(printf '%s\n' $commands --help | sort)" ] && ok ||
    fail "completion of the command: $(complete_line quillet-batch '')"
# words before the cursor | the word at it | what the completion offers, ";" between
cases=(
    "strip-folder|--|--overwrite;--sort"
    "check x|--t|--tag"
    "check --tag||"
    "export a b --format|j|jsonl"
    "export|$work/fol|$work/folder one;$work/folder two"
    "utf8 <|$work/folder f|$work/folder file.txt"
)
for row in "${cases[@]}"; do
    IFS='|' read -r before cur want <<<"$row"
    read -ra line <<<"quillet-batch $before"
    got=$(complete_line "${line[@]}" "$cur" | paste -sd ';')
    [ "$got" = "$want" ] && ok || fail "completion of '$before $cur': $got"
done
# Every format offered is one that export takes.
for f in $(complete_line quillet-batch export a b --format ''); do
    "$root/usr/bin/quillet-batch" export "$work/none" "$work/none" --format "$f" 2>/dev/null
    [ $? -eq 1 ] && ok || fail "completion offers --format $f, which export refuses"
done

mkdir -p "$work/src" "$work/dst"
printf '{TITEL}M\374ller{/TITEL}\r\n' >"$work/src/a.txt"
"$root/usr/bin/quillet-batch" export "$work/src" "$work/dst" >"$work/out" 2>&1 &&
    grep -q '<MainTitel>Müller</MainTitel>' "$work/dst/XML0/XML.xml" &&
    cmp -s "$work/dst/XML0/XML.xsd" "$root/usr/share/quillet/XML_Vorlage/XML.xsd" &&
    ok || fail "export from the package: $(cat "$work/out") $(ls "$work/dst"/*)"
finish
