#!/usr/bin/env bash
# The Wine prefix of one run of the Windows build's tests. `make` ends what an earlier run
# may have left running, and makes the prefix anew; `stop` ends every Windows program still
# running in it once the run is over.
# usage: wine_prefix.sh make|stop PREFIX
set -euo pipefail
action=$1
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
command -v wine >/dev/null || { echo "wine is missing (tools/install-deps.sh test)" >&2; exit 1; }
case $action in
  make)
    if [ -d "$WINEPREFIX" ]; then
      wineserver -k 2>/dev/null || true
      wineserver -w 2>/dev/null || true
    fi
    rm -rf "$WINEPREFIX"
    # Without a display: a test that needs one makes a prefix of its own under Xvfb.
    env -u DISPLAY -u WAYLAND_DISPLAY wineboot -i
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    ;;
  *)
    echo "usage: $0 make|stop PREFIX" >&2
    exit 2
    ;;
esac
