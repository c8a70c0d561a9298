#!/usr/bin/env bash
# Capture latency on the Wayland paths, in the headless sessions of the tests (tests/wayland/),
# with the test reader as the focused Wayland program holding a selection:
#   - the selection steps, timed in one process by quillet-wayland-selection-bench: Ctrl+C
#     through the compositor to the new CLIPBOARD, reading it, reading PRIMARY;
#   - the key's way: a key pressed through the compositor until Quillet's Ctrl+C reaches the
#     reader (polled every 2 ms). KDE: KWin's fake input, the portal, Quillet. sway: wtype, a
#     binding running `quillet --hotkey 2`, the session bus, Quillet.
# A capture takes about the key's way plus Ctrl+C to the new CLIPBOARD plus the read.
#   bench/wayland_latency.sh [COUNT] [BUILD_DIR]     (as root, like the tests)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")

if [ "${1:-}" != --inside ]; then
  count=${1:-20}
  build=$(readlink -f "${2:-$root/build/dev}")
  quillet=$build/app/quillet reader=$build/tests/xvfb/quillet-test-reader
  press=$build/tests/wayland/quillet-test-press-keys
  bench=$build/bench/quillet-wayland-selection-bench
  for tool in "$quillet" "$reader" "$press" "$bench"; do
    [ -x "$tool" ] || { echo "missing $tool (cmake --build --preset dev)" >&2; exit 1; }
  done
  setup=$(mktemp -d)
  trap 'rm -rf "$setup"' EXIT
  mkdir "$setup/apps"
  sed "s|^Exec=.*|Exec=$quillet|" "$root/app/resources/org.quillet.Quillet.desktop" \
    >"$setup/apps/org.quillet.Quillet.desktop"
  for tool in "$press" "$bench"; do
    printf '[Desktop Entry]\nType=Application\nName=%s\nExec=%s\nX-KDE-Wayland-Interfaces=%s\n' \
      "$(basename "$tool")" "$tool" org_kde_kwin_fake_input >"$setup/apps/$(basename "$tool").desktop"
  done
  echo "== KDE Plasma (KWin 5.27, the real portals)"
  "$root/tests/wayland/kde_session.sh" "$setup/apps" "$0" --inside kde "$count" "$quillet" \
    "$reader" "$press" "$bench" 2>&1 | grep -v -e dbus-daemon -e 'max threads'
  echo "== sway 1.7 (quillet --hotkey)"
  session=$(mktemp -d /tmp/quillet-sway.XXXXXX)
  mkdir "$session/bin"
  cp "$quillet" "$reader" "$bench" "$0" "$session/bin/"
  printf 'no_focus [title="^Information\\.\\.$"]\nbindsym F2 exec %s/quillet --hotkey 2\n' \
    "$session/bin" >"$setup/config"
  SWAY_SESSION_DIR=$session "$root/tests/wayland/sway_session.sh" "$setup/config" \
    "$session/bin/$(basename "$0")" --inside sway "$count" "$session/bin/quillet" \
    "$session/bin/$(basename "$reader")" wtype "$session/bin/$(basename "$bench")" 2>&1
  exit
fi

desktop=$2 count=$3 quillet=$4 reader=$5 press=$6 bench=$7
if [ "$desktop" = sway ]; then work=$(mktemp -d "$SWAY_SESSION_DIR/work/b.XXXXXX"); else work=$(mktemp -d); fi
pids=()
trap 'exec 4>&- 2>/dev/null; kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
wait_for() { for _ in $(seq "$1"); do "${@:2}" && return 0; sleep 0.1; done; "${@:2}"; }
press_key() { if [ "$desktop" = sway ]; then wtype -k "$1"; else "$press" "$1" >/dev/null; fi; }

mkdir "$work/PATH"
(cd "$work" && unset QT_QPA_PLATFORM && exec "$quillet") >"$work/quillet.log" 2>&1 &
pids+=($!)
xdotool search --sync --onlyvisible --name '^Quillet ver' >/dev/null
if [ "$desktop" = kde ]; then
  bound() { gdbus call --session --dest org.kde.kglobalaccel --object-path /kglobalaccel \
    --method org.kde.KGlobalAccel.allComponents 2>/dev/null | grep -q /component/quillet; }
  wait_for 100 bound
else
  notice() { xdotool search --onlyvisible --name '^Information$' >/dev/null 2>&1; }
  wait_for 100 notice && swaymsg '[title="^Information$"] kill' >/dev/null
fi

mkfifo "$work/in"
(export QT_QPA_PLATFORM=wayland && exec "$reader") <"$work/in" >"$work/out" 2>/dev/null &
pids+=($!)
exec 4>"$work/in"
active() { [ "$(grep -E '^(active|inactive)$' "$work/out" | tail -1)" = active ]; }
wait_for 100 active
echo "select Grüße – eine Auswahl von mittlerer Länge, wie ein Titel oder ein Satz." >&4
sleep 0.3

"$bench" "$count" || true

copies() { grep -c '^key Ctrl+C$' "$work/out" || true; }
times=()
for _ in $(seq "$count"); do
  before=$(copies)
  start=$(date +%s%N)
  press_key F2
  while [ "$(copies)" -le "$before" ]; do
    [ $(($(date +%s%N) - start)) -gt 5000000000 ] && break
    sleep 0.002
  done
  times+=($((($(date +%s%N) - start) / 10000)))
  sleep 0.8 # the capture ends before the next key
done
printf '%s\n' "${times[@]}" | sort -n | awk -v n="$count" -v d="$desktop" '{ v[NR] = $1 / 100 }
  END { printf "%-34s n=%d  min %6.2f  median %6.2f  max %6.2f ms\n", "key to Ctrl+C at the reader", NR, v[1], v[int((NR + 1) / 2)], v[NR] }'
