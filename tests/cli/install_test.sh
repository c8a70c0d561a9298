#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the installed quillet-batch
# finds the installed schema template for its export.
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null || { echo "FAIL install"; exit 1; }
bin="$work/prefix/bin/quillet-batch"
[ -f "$work/prefix/share/quillet/XML_Vorlage/XML.xsd" ] || { echo "FAIL template not installed"; exit 1; }
[ ! -e "$work/prefix/bin/XML_Vorlage" ] || { echo "FAIL template beside the installed binary"; exit 1; }
mkdir -p "$work/src" "$work/dst"
printf '{TITEL}t{/TITEL}' >"$work/src/a.txt"
"$bin" export "$work/src" "$work/dst" >/dev/null || { echo "FAIL export exit $?"; exit 1; }
cmp -s "$work/dst/XML0/XML.xsd" "$work/prefix/share/quillet/XML_Vorlage/XML.xsd" ||
    { echo "FAIL installed template not copied: $(ls "$work/dst/XML0")"; exit 1; }
echo "installed template found"
