#!/usr/bin/env bash
# Makes the screenshots of the README's user guide from the real program under Xvfb: one
# picture per page of the main window in docs/screenshots/, with a small sample corpus
# chosen through the program's own folder dialog.
# usage: tools/screenshots.sh [BUILD_DIR]   (default build/dev; builds nothing itself)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/dev}" && pwd)
quillet=$build/app/quillet
grab=$build/tests/xvfb/quillet-grab-window
for tool in "$quillet" "$grab"; do
    [ -x "$tool" ] || { echo "missing $tool: build the dev preset first" >&2; exit 1; }
done
if [ -z "${QUILLET_SCREENSHOTS_UNDER_X:-}" ]; then
    QUILLET_SCREENSHOTS_UNDER_X=1 exec "$root/tests/xvfb/run_under_xvfb.sh" "$0" "$build"
fi

out=$root/docs/screenshots
# A fixed place, so that the pictures come out the same each time.
work=/tmp/quillet-guide
mkdir "$work" || { echo "$work is in the way: remove it first" >&2; exit 1; }
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$out" "$work/Korpus" "$work/Export"
# Windows-1252 text with CR LF, as the program saves it.
printf '{MEDIUM}Tagblatt{/MEDIUM}\r\n\r\n{TITEL}Der Hafen w\344chst weiter{/TITEL}\r\n\r\n{AUTOR}Anna M\374ller{/AUTOR}\r\n\r\n{TEXT}Der Hafen hat im Sommer mehr Schiffe gesehen als je zuvor.\r\n\r\nDie Stadt plant einen neuen Kai.{/TEXT}\r\n\r\n' >"$work/Korpus/Tagblatt_07.12.2026_0.txt"
printf '{MEDIUM}Wochenschau{/MEDIUM}\r\n\r\n{TITEL}Neue Br\374cke er\366ffnet{/TITEL}\r\n\r\n{TEXT}Seit Montag f\344hrt der Verkehr \374ber die neue Br\374cke.{/TEXT}\r\n\r\n' >"$work/Korpus/Wochenschau_07.12.2026_0.txt"
printf '{TITEL}Ohne Datum{/TITEL}\r\n\r\n{TEXT}Ein kurzer Text.{/TEXT}\r\n\r\n' >"$work/Korpus/Notiz_0.txt"

(cd "$work" && LC_ALL=C.UTF-8 exec "$quillet") >"$work/quillet.log" 2>&1 &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quillet ver\.' | head -1)
[ -n "$window" ] || { cat "$work/quillet.log" >&2; echo "the main window did not show" >&2; exit 1; }
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
sleep 1

# Clicks at a point of the main window, in its own coordinates.
click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.5
}
shot() {
    sleep 0.5
    "$grab" "$window" "$out/$1.png"
    echo "$out/$1.png"
}
# The tab of page N (1 to 6): the tabs stand side by side at the top.
page() {
    click "${tab_x[$1]}" 17
}
# Chooses a folder in the program's folder dialog by typing the names along its path.
choose_folder() { # button-x button-y folder
    click "$1" "$2"
    local dialog
    dialog=$(timeout 10 xdotool search --sync --onlyvisible --name '^Ordner suchen$' | head -1)
    xdotool windowactivate --sync "$dialog" >/dev/null 2>&1 || true
    sleep 0.5
    # The tree's one top item is the root folder; it opens, then each name is looked up
    # among what is shown below the current item.
    xdotool key Down Right
    sleep 2
    local IFS=/
    for name in ${3#/}; do
        xdotool type --delay 40 "$name"
        sleep 1
        xdotool key Right
        sleep 2
    done
    xdotool key Left Return
    sleep 1
}

# Where the tabs and controls are, in the window's coordinates: the pages start 32 pixels
# below the window's top edge.
tab_x=(0 35 110 195 268 325 375)
top=32

type_lines() {
    for line in "$@"; do
        xdotool type --delay 5 "$line"
        xdotool key Return
    done
}

click 100 100
type_lines '{TITEL}Das ist ein Demonstrationstitel{/TITEL}' '' \
    '{TEXT}Dieser Text war zuerst da.' '' 'Dann kam dieser Satz hinzu.{/TEXT}' ''
shot 1-textview

page 2
choose_folder 292 $((top + 36)) "$work/Korpus"
click 60 $((top + 104))
shot 2-delete-tags

page 3
choose_folder 308 $((top + 36)) "$work/Korpus"
choose_folder 308 $((top + 292)) "$work/Export"
click 50 $((top + 88))
shot 3-text-to-xml

page 4
shot 4-controls
page 5
shot 5-help
page 6
shot 6-about
