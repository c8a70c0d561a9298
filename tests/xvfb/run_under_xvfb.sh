#!/usr/bin/env bash
# Runs a command inside an X server of its own (Xvfb, on a display number the server picks
# itself, so parallel tests never collide) with openbox managing the windows. The command's
# exit status is the script's; a server or window manager that does not come up is a failure.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 command [args...]" >&2
  exit 2
fi

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
xvfb_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

for tool in Xvfb openbox xdotool xclip xprop; do
  command -v "$tool" >/dev/null || { echo "missing $tool (tools/install-deps.sh test)" >&2; exit 1; }
done

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" \
  2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  grep -q '[0-9]' "$work/display" 2>/dev/null && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; echo "Xvfb failed" >&2; exit 1; }
  sleep 0.1
done
grep -q '[0-9]' "$work/display" || { echo "Xvfb did not report a display" >&2; exit 1; }
export DISPLAY=":$(tr -dc 0-9 <"$work/display")"

openbox --sm-disable --config-file "$here/openbox-rc.xml" >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' \
  || { cat "$work/openbox.log" >&2; echo "openbox did not start" >&2; exit 1; }

export QT_QPA_PLATFORM=xcb
# An X11 session of its own, whatever desktop runs the tests: no Wayland, no session bus.
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
export XDG_SESSION_TYPE=x11
status=0
"$@" || status=$?
exit "$status"
