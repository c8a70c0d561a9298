#!/usr/bin/env bash
# Runs a command inside a headless KDE Wayland session of its own: KWin 5.27 with Xwayland,
# xdg-desktop-portal and xdg-desktop-portal-kde on a private session bus, a fresh HOME (so
# the shortcut store starts empty), KWin's permission checks on as on a desktop. The exit
# status is the command's; 9x when the session did not come up.
# usage: kde_session.sh APPS_DIR COMMAND [ARGS...]
#   APPS_DIR: .desktop files for ~/.local/share/applications; KWin reads them at start, and
#   grants restricted interfaces (fake input) to the executables they name in Exec.
# In the command's environment: WAYLAND_DISPLAY, DISPLAY (Xwayland), XDG_RUNTIME_DIR,
# DBUS_SESSION_BUS_ADDRESS, HOME, KDE_SESSION_DIR (logs: kwin.log, portal*.log).
set -euo pipefail

if [ "${1:-}" != --inside ]; then
  [ $# -ge 2 ] || { echo "usage: $0 APPS_DIR COMMAND [ARGS...]" >&2; exit 2; }
  apps=$1
  shift
  s=$(mktemp -d /tmp/quillet-kde.XXXXXX)
  # The packaged kwin_wayland carries a file capability, and exec of it fails (EPERM) in
  # containers that may not grant it; a copy has none.
  cp /usr/bin/kwin_wayland "$s/kwin_wayland"
  mkdir -p "$s/home/.cache" "$s/home/.config" "$s/home/.local/share/applications" "$s/run"
  chmod 700 "$s/run"
  cp "$apps"/*.desktop "$s/home/.local/share/applications/"
  status=0
  # The marker finds every process of the session afterwards, also those the bus started.
  QUILLET_KDE_SESSION=$s HOME=$s/home XDG_CACHE_HOME=$s/home/.cache \
    XDG_CONFIG_HOME=$s/home/.config XDG_DATA_HOME=$s/home/.local/share XDG_RUNTIME_DIR=$s/run \
    dbus-run-session -- "$0" --inside "$s" "$@" || status=$?
  "$(dirname "$0")/end_session.sh" QUILLET_KDE_SESSION "$s"
  # The document portal leaves a FUSE mount in the runtime folder.
  if grep -qF " $s/run/doc " /proc/mounts; then
    fusermount3 -u -z "$s/run/doc" 2>/dev/null || umount -l "$s/run/doc" || true
  fi
  if [ "${KDE_SESSION_KEEP:-0}" = 1 ]; then echo "kde_session: logs in $s" >&2; else rm -rf "$s"; fi
  exit "$status"
fi

s=$2
shift 2
export KDE_SESSION_DIR=$s XDG_CURRENT_DESKTOP=KDE XDG_SESSION_TYPE=wayland XDG_SESSION_DESKTOP=KDE
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill -TERM "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

has_owner() {
  [ "$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner "$1" 2>/dev/null)" = "(true,)" ]
}
session=kde
. "$(dirname "$0")/wait_for.sh"

start=$(date +%s%N)
# KWin picks the X display itself; a program it starts with the session reports it.
"$s/kwin_wayland" --virtual --socket wayland-quillet --width 1280 --height 800 --xwayland \
  --exit-with-session "sh -c 'echo \$DISPLAY >$s/display; exec sleep infinity'" \
  >"$s/kwin.log" 2>&1 &
pids+=($!)
wait_for KWin test -S "$s/run/wayland-quillet" || exit 91
wait_for "KWin's bus name" has_owner org.kde.KWin || exit 91
wait_for Xwayland test -s "$s/display" || exit 91
export WAYLAND_DISPLAY=wayland-quillet DISPLAY
DISPLAY=$(cat "$s/display")

portal_kde=$(ls /usr/lib/*/libexec/xdg-desktop-portal-kde | head -1)
"$portal_kde" >"$s/portal-kde.log" 2>&1 &
pids+=($!)
wait_for xdg-desktop-portal-kde has_owner org.freedesktop.impl.portal.desktop.kde || exit 92
/usr/libexec/xdg-desktop-portal -v >"$s/portal.log" 2>&1 &
pids+=($!)
wait_for xdg-desktop-portal has_owner org.freedesktop.portal.Desktop || exit 93
echo "kde_session: up in $((($(date +%s%N) - start) / 1000000)) ms" >&2

status=0
"$@" || status=$?
exit "$status"
