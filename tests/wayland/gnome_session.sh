#!/usr/bin/env bash
# Runs a command inside a headless GNOME session of its own: mutter 43 with Xwayland on a
# private session bus that starts no services (so no portal), a fresh HOME. The exit status
# is the command's; 9x when the session did not come up.
# usage: gnome_session.sh [--shell] COMMAND [ARGS...]
#   --shell: GNOME Shell 43 instead of bare mutter, with gnome-settings-daemon's media-keys
#   service (which runs the custom shortcuts), logind faked by python3-dbusmock on a private
#   system bus, and the settings in a file (GSETTINGS_BACKEND=keyfile) that all of them share.
# In the command's environment: WAYLAND_DISPLAY, DISPLAY and XAUTHORITY (Xwayland),
# XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS, HOME, XDG_CURRENT_DESKTOP=GNOME,
# XDG_SESSION_TYPE=wayland and GNOME_SESSION_DIR (logs: mutter.log, gsd.log). The seat has no
# keyboard or pointer until a program makes them (tests/wayland/mutter_seat.py).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" != --inside ]; then
  shell=0
  [ "${1:-}" = --shell ] && { shell=1; shift; }
  [ $# -ge 1 ] || { echo "usage: $0 [--shell] COMMAND [ARGS...]" >&2; exit 2; }
  s=$(mktemp -d /tmp/quillet-gnome.XXXXXX)
  mkdir -p "$s/home/.cache" "$s/home/.config" "$s/run"
  chmod 700 "$s/run"
  status=0
  # The marker finds every process of the session afterwards.
  QUILLET_GNOME_SESSION=$s HOME=$s/home XDG_CACHE_HOME=$s/home/.cache \
    XDG_CONFIG_HOME=$s/home/.config XDG_RUNTIME_DIR=$s/run \
    dbus-run-session --config-file="$here/../platform/test-bus.conf" -- \
    "$0" --inside "$s" "$shell" "$@" || status=$?
  "$here/end_session.sh" QUILLET_GNOME_SESSION "$s"
  if [ "${GNOME_SESSION_KEEP:-0}" = 1 ]; then echo "gnome_session: logs in $s" >&2; else rm -rf "$s"; fi
  exit "$status"
fi

s=$2 shell=$3
shift 3
export GNOME_SESSION_DIR=$s XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XAUTHORITY
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill -TERM "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT
session=gnome
. "$here/wait_for.sh"

start=$(date +%s%N)
compositor=mutter
if [ "$shell" = 1 ]; then
  compositor=gnome-shell
  # GNOME Shell asks logind about the session; a fake on a system bus of the session's own.
  sed -e 's|<type>session</type>|<type>system</type>|' \
    -e "s|<listen>.*</listen>|<listen>unix:path=$s/run/system_bus</listen>|" \
    "$here/../platform/test-bus.conf" >"$s/system-bus.conf"
  dbus-daemon --config-file="$s/system-bus.conf" --nofork --nopidfile >"$s/system-bus.log" 2>&1 &
  pids+=($!)
  export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$s/run/system_bus GSETTINGS_BACKEND=keyfile
  wait_for "the system bus" test -S "$s/run/system_bus" || exit 93
  /usr/bin/python3 -m dbusmock --system --template logind >"$s/logind.log" 2>&1 &
  pids+=($!)
  logind() {
    gdbus call --system --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
      --method org.freedesktop.DBus.NameHasOwner org.freedesktop.login1 2>/dev/null \
      | grep -q true
  }
  wait_for "the fake logind" logind || exit 93
fi
"$compositor" --headless --wayland --virtual-monitor 1280x800 --wayland-display=wayland-quillet \
  >"$s/mutter.log" 2>&1 &
pids+=($!)
# Xwayland's display is public, but takes only clients with the cookie mutter writes.
x_display() { grep -o 'Using public X11 display :[0-9]*' "$s/mutter.log" | grep -o ':[0-9]*$'; }
has_display() { [ -n "$(x_display)" ] && compgen -G "$s/run/.mutter-Xwaylandauth.*" >/dev/null; }
wait_for mutter test -S "$s/run/wayland-quillet" || exit 91
wait_for Xwayland has_display || exit 92
export WAYLAND_DISPLAY=wayland-quillet DISPLAY XAUTHORITY
DISPLAY=$(x_display)
XAUTHORITY=$(compgen -G "$s/run/.mutter-Xwaylandauth.*" | head -1)
x_answers() { xdpyinfo >/dev/null 2>&1; }
wait_for "the X display" x_answers || exit 92
if [ "$shell" = 1 ]; then
  shell_started() { grep -q "GNOME Shell started" "$s/mutter.log"; }
  wait_for "GNOME Shell" shell_started || exit 94
  /usr/libexec/gsd-media-keys >"$s/gsd.log" 2>&1 &
  pids+=($!)
  media_keys() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
      --method org.freedesktop.DBus.NameHasOwner org.gnome.SettingsDaemon.MediaKeys 2>/dev/null \
      | grep -q true
  }
  wait_for "the media keys service" media_keys || exit 95
fi
echo "gnome_session: $compositor up in $((($(date +%s%N) - start) / 1000000)) ms" >&2

status=0
"$@" || status=$?
exit "$status"
