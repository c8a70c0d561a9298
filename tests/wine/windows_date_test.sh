#!/usr/bin/env bash
# Today's date on Windows comes from the user's regional settings (GetDateFormatEx), which
# Wine takes from LC_ALL: the untagged folder of strip-folder shows it in that locale's
# order, with the slashes of a short date made safe for a folder name. Wine's own tables
# decide the zero padding, so it is left open.
# usage: windows_date_test.sh quillet-batch-under-wine
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"

# locale  the folder's date, with D M Y for today's day, month and year
rows=(
    "de_DE.UTF-8 D\\.M\\.Y"
    "fr_FR.UTF-8 D-M-Y"
    "en_US.UTF-8 M-D-Y"
)
for row in "${rows[@]}"; do
    read -r locale pattern <<<"$row"
    rm -rf "$work/in"
    mkdir -p "$work/in"
    printf '{A}x' >"$work/in/a.txt"
    before=$(date +%-d/%-m/%Y)
    LC_ALL=$locale "$bin" strip-folder "$work/in" >/dev/null 2>&1
    after=$(date +%-d/%-m/%Y)
    folder=$(ls "$work/in" | grep '^untagged_')
    found=0
    for day in "$before" "$after"; do # a run across midnight
        IFS=/ read -r d m y <<<"$day"
        want=$(sed "s/D/0?$d/; s/M/0?$m/; s/Y/$y/" <<<"$pattern")
        [[ $folder =~ ^untagged_${want}_1$ ]] && found=1
    done
    [ $found -eq 1 ] && ok || fail "$locale: $folder"
done
finish
