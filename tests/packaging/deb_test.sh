#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it as a user's system would: the
# desktop entry and the AppStream data validate, lintian finds no error, the dependencies
# are declared, and the package unpacked into a scratch root runs quillet-batch.
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

# Errors fail; warnings (no manual page, for one) are shown but pass.
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 &&
    ok || fail "lintian: $(cat "$work/lintian")"
grep '^W: ' "$work/lintian" || true

depends=$(dpkg-deb -f "$deb" Depends)
for d in libc6 libqt6core6 libqt6widgets6 libsqlite3-0 qt6-qpa-plugins libqt6svg6; do
    grep -q "\b$d\b" <<<"$depends" && ok || fail "Depends lacks $d: $depends"
done
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/files"
for f in ./usr/bin/quillet ./usr/bin/quillet-batch ./usr/share/quillet/XML_Vorlage/XML.xsd \
    "./usr/share/applications/$app_id.desktop" "./usr/share/metainfo/$app_id.metainfo.xml" \
    "./usr/share/icons/hicolor/scalable/apps/$app_id.svg" ./usr/share/doc/quillet/copyright; do
    grep -qx -- "$f" "$work/files" && ok || fail "package lacks $f"
done

root=$work/root
dpkg -x "$deb" "$root"
"$root/usr/bin/quillet-batch" --help >"$work/help" 2>&1 && grep -q '^  export ' "$work/help" &&
    ok || fail "quillet-batch --help from the package: $(cat "$work/help")"
mkdir -p "$work/src" "$work/dst"
printf '{TITEL}M\374ller{/TITEL}\r\n' >"$work/src/a.txt"
"$root/usr/bin/quillet-batch" export "$work/src" "$work/dst" >"$work/out" 2>&1 &&
    grep -q '<MainTitel>Müller</MainTitel>' "$work/dst/XML0/XML.xml" &&
    cmp -s "$work/dst/XML0/XML.xsd" "$root/usr/share/quillet/XML_Vorlage/XML.xsd" &&
    ok || fail "export from the package: $(cat "$work/out") $(ls "$work/dst"/*)"
finish
