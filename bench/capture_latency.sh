#!/usr/bin/env bash
# Hot key to notification, for each program given, under Xvfb with openbox: the test reader
# holds the focus and copies "Satz 1", "Satz 2", ... for its 1st, 2nd, ... Ctrl+C, DELAY ms
# after the keystroke (0: at once, like a text field; 600: later than the old fixed wait,
# like a viewer copying hundreds of PDF pages). Before the first key the clipboard holds
# "older text". Each program gets COUNT presses of F4, timed from X events by
# quillet-capture-latency-probe; then F10 saves, and the saved document shows which copy
# each capture inserted ("older text" or the number before its own marks a stale one).
# With --terminal a real xterm is in front instead, and each press follows a new triple click
# on its line: the capture sends no key and takes the highlighted line.
#   bench/capture_latency.sh [--delay MS] [--count N] [--build DIR] [--terminal] QUILLET...
# e.g. bench/capture_latency.sh --delay 600 /work/baseline/build/dev/app/quillet \
#        build/dev/app/quillet
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
if [ -z "${QUILLET_BENCH_INNER:-}" ]; then
  QUILLET_BENCH_INNER=1 exec "$root/tests/xvfb/run_under_xvfb.sh" "$0" "$@"
fi

delay=0 count=20 build=$root/build/dev terminal=0
while [ $# -gt 0 ]; do
  case $1 in
  --terminal) terminal=1; shift ;;
  --delay) delay=$2; shift 2 ;;
  --count) count=$2; shift 2 ;;
  --build) build=$2; shift 2 ;;
  *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--delay MS] [--count N] [--build DIR] QUILLET..." >&2; exit 2; }
reader=$build/tests/xvfb/quillet-test-reader
probe=$build/bench/quillet-capture-latency-probe
for tool in "$reader" "$probe"; do
  [ -x "$tool" ] || { echo "missing $tool (cmake --build --preset dev)" >&2; exit 1; }
done

wait_for() { # tenths of a second, then a command run anew each time
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  "$@"
}
has_line() { grep -q "$1" "$2" 2>/dev/null; }
saved() { compgen -G "$work/PATH/*.txt" >/dev/null; }

measure() {
  local quillet reader_id
  quillet=$(realpath "$1")
  work=$(mktemp -d)
  mkfifo "$work/reader.in"
  "$reader" <"$work/reader.in" >"$work/reader.out" 2>/dev/null &
  reader_pid=$!
  exec 4>"$work/reader.in"
  wait_for 100 has_line '^window ' "$work/reader.out"
  reader_id=$(sed -n 's/^window //p' "$work/reader.out")
  printf 'older text' | xclip -selection clipboard -i
  echo "delay $delay" >&4
  echo "count Satz" >&4
  wait_for 50 has_line '^counting' "$work/reader.out"

  mkdir "$work/PATH" # the save folder the program starts with, beside its working folder
  (cd "$work" && LC_ALL=C.UTF-8 exec "$quillet") >"$work/quillet.log" 2>&1 &
  quillet_pid=$!
  timeout 20 xdotool search --sync --onlyvisible --name '^Quillet ver\.' >/dev/null
  sleep 0.5 # the window manager gives the new window the focus; then the reader takes it
  xdotool windowactivate --sync "$reader_id" >/dev/null 2>&1 || true
  echo activate >&4

  if [ "$terminal" = 1 ]; then
    in_terminal
  else
    echo "== $quillet: $count presses of F4, the reader copies ${delay} ms after Ctrl+C"
    "$probe" --key F4 --count "$count" || echo "the probe gave up"
  fi
  sleep "$(awk -v d="$delay" 'BEGIN { print d / 1000 + 0.5 }')"
  xdotool key F10
  if wait_for 50 saved; then
    echo "saved document, one line per capture:"
    iconv -f WINDOWS-1252 -t UTF-8 "$work"/PATH/*.txt | tr -d '\r' | grep -v '^$' | sed 's/^/  /'
  else
    echo "F10 saved nothing"
  fi
  exec 4>&-
  kill "$quillet_pid" "$reader_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}

# xterm below the main window (which stays on top) prints a line and waits; before each
# press a triple click highlights the line anew.
in_terminal() {
  local id times=()
  xterm -geometry 60x8+0+880 -T 'Bench Terminal' -e sh -c 'echo "Zeile aus dem Terminal"; exec sleep 600' &
  xterm_pid=$!
  id=$(timeout 20 xdotool search --sync --onlyvisible --name '^Bench Terminal$' | head -1)
  xdotool windowactivate --sync "$id" >/dev/null 2>&1 || true
  echo "== $quillet: $count presses of F4 with xterm in front, each after a new highlight"
  for i in $(seq "$count"); do
    xclip -selection primary -i /dev/null # taken from xterm, so the click below is new
    xdotool mousemove --sync --window "$id" 20 8 click --repeat 3 --delay 80 1 || true
    highlighted() { [ "$(xclip -o -selection primary 2>/dev/null)" = "Zeile aus dem Terminal" ]; }
    wait_for 30 highlighted || { echo "capture $i: xterm highlighted nothing"; break; }
    line=$("$probe" --key F4 --count 1 | grep '^capture 1:') || { echo "the probe gave up"; break; }
    echo "${line/capture 1/capture $i}"
    times+=("$(sed 's/.*notification after \([0-9.]*\) ms.*/\1/' <<<"$line")")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { if (NR) printf \
    "key to notification: n=%d median=%.1f min=%.1f max=%.1f ms\n", NR,
    NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2, v[1], v[NR] }'
  kill -0 "$xterm_pid" 2>/dev/null && echo "the command in xterm still runs" \
    || echo "the command in xterm ended"
  kill "$xterm_pid" 2>/dev/null || true
}

for quillet in "$@"; do
  measure "$quillet"
done
