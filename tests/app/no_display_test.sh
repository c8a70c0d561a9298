#!/usr/bin/env bash
# Without a graphical session the program says that it needs one and ends with status 1,
# instead of aborting inside Qt's platform plugin.
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"

# name         the session's variables
cases=(
    "none"
    "x11-gone    DISPLAY=:4711"
    "wayland-gone WAYLAND_DISPLAY=quillet-no-such-display XDG_RUNTIME_DIR=$work"
)
for row in "${cases[@]}"; do
    read -r name session <<<"$row"
    # shellcheck disable=SC2086
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE $session \
        timeout 60 "$bin" >"$work/out" 2>"$work/err"
    rc=$?
    [ $rc -eq 1 ] && grep -q '^quillet: Quillet needs a graphical session (X11 or Wayland): ' "$work/err" &&
        ok || fail "$name: exit $rc, $(cat "$work/err")"
done
finish
