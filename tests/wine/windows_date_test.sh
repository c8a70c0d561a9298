#!/usr/bin/env bash
# Today's date on Windows comes from the user's regional settings (GetDateFormatEx), which
# Wine takes from LC_ALL: the untagged folder of strip-folder shows the date that Wine's own
# cmd gives for %DATE% (GetDateFormat with the user's short date, none of our code), with
# the slashes of a short date made safe for a folder name, and in that locale's order.
# usage: windows_date_test.sh quillet-batch-under-wine wine-run.sh
set -u
bin=$1
wine=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"

# Wine's cmd's date in this locale, as a folder name shows it.
cmd_date() { LC_ALL=$1 "$wine" cmd /c 'echo %DATE%' </dev/null | tr -d '\r\n' | tr / -; }

# locale  the folder's date, with D M Y for today's day, month and year
rows=(
    "de_DE.UTF-8 D\\.M\\.Y"
    "fr_FR.UTF-8 D-M-Y"
    "en_US.UTF-8 M-D-Y"
    "ja_JP.UTF-8 Y-M-D"
)
for row in "${rows[@]}"; do
    read -r locale pattern <<<"$row"
    rm -rf "$work/in"
    mkdir -p "$work/in"
    printf '{A}x' >"$work/in/a.txt"
    before=$(date +%-d/%-m/%Y) cmd_before=$(cmd_date "$locale")
    LC_ALL=$locale "$bin" strip-folder "$work/in" >/dev/null 2>&1
    after=$(date +%-d/%-m/%Y) cmd_after=$(cmd_date "$locale")
    folder=$(ls "$work/in" | grep '^untagged_')
    found=0
    for day in "$before" "$after"; do # a run across midnight
        IFS=/ read -r d m y <<<"$day"
        want=$(sed "s/D/0?$d/; s/M/0?$m/; s/Y/$y/" <<<"$pattern")
        [[ $folder =~ ^untagged_${want}_1$ ]] && found=1
    done
    [ $found -eq 1 ] && ok || fail "$locale: $folder"
    [[ $folder == "untagged_${cmd_before}_1" || $folder == "untagged_${cmd_after}_1" ]] && ok ||
        fail "$locale: $folder, but cmd's date is $cmd_before"
done
finish
