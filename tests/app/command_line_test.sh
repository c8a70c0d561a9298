#!/usr/bin/env bash
# The program's options without any display: help, the version and mistakes print and end
# with their status, and none of them opens a window (without a display that would abort).
set -u
quillet=$1 readme=$2 manual=$3
. "$(dirname "$0")/../support/check.sh"
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

# arguments | status | stream | text that stream must hold
rows=(
  "--help|0|out|--hotkey <N>"
  "--help|0|out|--record-source +Start with"
  "--record-source=1|2|err|Unexpected value after '--record-source'"
  "-h|0|out|^Usage: quillet \\[options\\]"
  "--help --hotkey 2|0|out|Exit status:"
  "--version|0|out|quillet [0-9]+\.[0-9]+"
  "--hotky 2|2|err|Unknown option 'hotky'"
  "--hotkey|2|err|Missing value after '--hotkey'"
  "--hotkey 17|2|err|Unknown hot key '17'"
  "--hotkey F11|2|err|Unknown hot key 'F11'"
  "stray|2|err|Unexpected argument 'stray'"
  "--help|0|out|--remove-gnome-shortcuts"
  "--setup-gnome-shortcuts --hotkey 2|2|err|Give only one of"
  "--remove-gnome-shortcuts --setup-gnome-shortcuts|2|err|Give only one of"
)
for row in "${rows[@]}"; do
  IFS='|' read -r args want stream text <<<"$row"
  # shellcheck disable=SC2086
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 10 "$quillet" $args >"$out" 2>"$err"
  got=$?
  if [ "$got" != "$want" ]; then fail "quillet $args: status $got, wanted $want ($(head -c 200 "$err"))"; continue; fi
  if [ "$stream" = out ]; then file=$out other=$err; else file=$err other=$out; fi
  grep -Eq -- "$text" "$file" && ok || fail "quillet $args: no '$text' in std$stream"
  [ -s "$other" ] && fail "quillet $args: wrote to the other stream: $(head -c 200 "$other")"
done
# A mistake shows the usage after the error.
env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$quillet" --hotky 2 2>"$err"
grep -q -- '--hotkey <N>' "$err" && ok || fail "no usage after a mistake"
# Every option of the help is in the README's table of options and in the manual page.
env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$quillet" --help >"$out"
for option in $(grep -oE '^ +(-[a-z], )?--[a-z-]+' "$out" | grep -oE -- '--[a-z-]+'); do
  grep -qE -- "^\\| .*\`$option[\` ]" "$readme" && ok || fail "$option is not in the README's options table"
  grep -qF -- "${option//-/\\-}" "$manual" && ok || fail "$option is not in the manual page"
done
finish
