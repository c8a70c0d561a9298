#!/usr/bin/env bash
# Runs a command inside a headless sway session of its own, all of it as the unprivileged
# user nobody when started as root (sway refuses root): sway with Xwayland, and a session
# bus that starts no services (so no portal). The exit status is the command's; 9x when
# sway did not come up.
# usage: sway_session.sh CONFIG COMMAND [ARGS...]
#   CONFIG: lines added to sway's configuration (bindsym ...)
# The command runs as nobody in SWAY_SESSION_DIR/work with WAYLAND_DISPLAY, DISPLAY,
# XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS, SWAYSOCK and HOME set; SWAY_SESSION_DIR/bin
# holds what the caller copies there before (the build may lie where nobody cannot read).
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 CONFIG COMMAND [ARGS...]" >&2; exit 2; }
config=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
nobody=65534
become=(setpriv --reuid=$nobody --regid=$nobody --clear-groups)
# Started by an unprivileged user, everything runs as that user.
if [ "$(id -u)" -ne 0 ]; then
  nobody=$(id -u)
  become=()
fi
s=${SWAY_SESSION_DIR:-$(mktemp -d /tmp/quillet-sway.XXXXXX)}
chmod 755 "$s"
mkdir -p "$s/run" "$s/home" "$s/work" "$s/bin"
chown "$nobody" "$s/run" "$s/home" "$s/work"
chmod 700 "$s/run"
cp "$here/../platform/test-bus.conf" "$s/bus.conf"
{
  echo "output * resolution 1280x800"
  echo "xwayland enable"
  echo "exec echo \$DISPLAY >$s/run/display"
  cat "$config"
} >"$s/config"
chmod 644 "$s/config" "$s/bus.conf"

as_nobody() {
  env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$s/home" XDG_RUNTIME_DIR="$s/run" \
    QUILLET_SWAY_SESSION="$s" DBUS_SESSION_BUS_ADDRESS="unix:path=$s/run/bus" "$@" \
    "${become[@]}" "${command[@]}"
}
cleanup() {
  "$here/end_session.sh" QUILLET_SWAY_SESSION "$s"
  if [ "${SWAY_SESSION_KEEP:-0}" = 1 ]; then echo "sway_session: logs in $s" >&2; else rm -rf "$s"; fi
}
trap cleanup EXIT
session=sway
wait_tries=400
. "$here/wait_for.sh"

start=$(date +%s%N)
command=(dbus-daemon --config-file="$s/bus.conf" --address="unix:path=$s/run/bus" --nofork --nopidfile)
as_nobody >"$s/bus.log" 2>&1 &
wait_for "the session bus" test -S "$s/run/bus" || exit 91
command=(sway --config "$s/config")
as_nobody WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman >"$s/sway.log" 2>&1 &
sock() { ls "$s/run" | grep -E '^wayland-[0-9]+$' | head -1; }
ipc() { ls "$s/run"/sway-ipc.*.sock 2>/dev/null | head -1; }
has() { [ -n "$("$1")" ]; }
wait_for sway has sock || exit 92
wait_for "sway's IPC" has ipc || exit 92
command=(swaymsg -t get_version)
wait_for "sway's configuration" as_nobody SWAYSOCK="$(ipc)" >/dev/null || exit 93
wait_for "Xwayland's display" test -s "$s/run/display" || exit 94
echo "sway_session: up in $((($(date +%s%N) - start) / 1000000)) ms" >&2

command=(sh -c 'cd "$SWAY_SESSION_DIR/work" && exec "$@"' _ "$@")
status=0
as_nobody SWAYSOCK="$(ipc)" WAYLAND_DISPLAY="$(sock)" DISPLAY="$(cat "$s/run/display")" \
  SWAY_SESSION_DIR="$s" || status=$?
exit "$status"
