#!/usr/bin/env bash
# Capture latency on GNOME (headless mutter 43 of the tests, tests/wayland/gnome_session.sh),
# with the GTK reader of the tests holding a new highlight before each capture:
#   - `quillet --hotkey 2` (what GNOME's custom shortcut runs) until Quillet's notification
#     window is viewable, timed from X events by quillet-capture-latency-probe;
#   - how long the reader is without the keyboard focus during that capture, as the reader
#     itself sees it (the user sees its window inactive for that long);
#   - the read alone, in one process (quillet-wayland-selection-bench --focused): the window
#     of one transparent pixel exists for that long.
#   bench/gnome_latency.sh [--shell] [COUNT] [BUILD_DIR]
# --shell: in GNOME Shell 43 instead of bare mutter (its overview closed first).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")

if [ "${1:-}" != --inside ]; then
  shell=()
  [ "${1:-}" = --shell ] && { shell=(--shell); shift; }
  count=${1:-20}
  build=$(readlink -f "${2:-$root/build/dev}")
  tools=("$build/app/quillet" "$build/bench/quillet-capture-latency-probe"
         "$build/bench/quillet-wayland-selection-bench")
  for tool in "${tools[@]}"; do
    [ -x "$tool" ] || { echo "missing $tool (cmake --build --preset dev)" >&2; exit 1; }
  done
  "$root/tests/wayland/gnome_session.sh" "${shell[@]}" "$0" --inside "$count" "${tools[@]}" 2>&1 \
    | grep -v -e dbus-daemon -e 'fd limit'
  exit "${PIPESTATUS[0]}"
fi

count=$2 quillet=$3 probe=$4 bench=$5
work=$(mktemp -d)
pids=()
trap 'exec 4>&- 5>&- 2>/dev/null; kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
wait_for() { for _ in $(seq "$1"); do "${@:2}" && return 0; sleep 0.05; done; "${@:2}"; }
lines() { grep -c "^$1" "$work/$2" || true; }

mkfifo "$work/seat.in" "$work/reader.in"
"$root/tests/wayland/mutter_seat.py" <"$work/seat.in" >"$work/seat.out" 2>&1 &
pids+=($!)
exec 5>"$work/seat.in"
commands=0
seat() {
  commands=$((commands + 1))
  echo "$*" >&5
  done_() { [ "$(lines done seat.out)" -ge "$commands" ]; }
  wait_for 100 done_
}
wait_for 100 grep -q '^ready$' "$work/seat.out"
mkdir "$work/PATH"
(cd "$work" && exec "$quillet") >"$work/quillet.log" 2>&1 &
pids+=($!)
xdotool search --sync --onlyvisible --name '^Quillet ver' >/dev/null
GDK_BACKEND=wayland "$root/tests/wayland/gtk_reader.py" <"$work/reader.in" >"$work/reader.out" 2>/dev/null &
pids+=($!)
exec 4>"$work/reader.in"
active() { [ "$(grep -E '^(active|inactive)$' "$work/reader.out" | tail -1)" = active ]; }
for _ in $(seq 20); do
  [ -n "${DBUS_SYSTEM_BUS_ADDRESS:-}" ] && seat key escape # GNOME Shell starts in its overview
  seat click 100 100 800
  wait_for 5 active && break
done

# A new highlight, made with keys as a person makes it.
highlights=0
highlight() {
  highlights=$((highlights + 1))
  echo "select $1" >&4
  seat key ctrl+a
  seen() { [ "$(lines 'key Ctrl+A' reader.out)" -ge "$highlights" ]; }
  wait_for 100 seen
}

highlight "Grüße – eine Auswahl von mittlerer Länge, wie ein Titel oder ein Satz."
"$bench" "$count" --focused

before=$(lines away reader.out)
for i in $(seq "$count"); do
  highlight "Satz $i: Grüße – eine Auswahl von mittlerer Länge."
  "$probe" --run "$quillet --hotkey 2" --count 1 --gap 100 | grep -v '^command to clipboard'
done | grep -v '^capture' | sed 's/^command to notification: n=1 median=\([0-9.]*\).*/\1/' \
  >"$work/shown"
sort -n "$work/shown" | awk '{ v[NR] = $1 } END {
  printf "%-34s n=%d  min %6.1f  median %6.1f  max %6.1f ms\n", "quillet --hotkey 2 to notification",
    NR, v[1], (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[NR] }'
grep '^away ' "$work/reader.out" | tail -n +$((before + 1)) | cut -d' ' -f2 | sort -n | awk '
  { v[NR] = $1 } END {
  printf "%-34s n=%d  min %6.1f  median %6.1f  max %6.1f ms\n", "reader without the focus",
    NR, v[1], (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[NR] }'
