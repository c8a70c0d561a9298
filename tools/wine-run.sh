#!/usr/bin/env bash
# Runs a Windows program under Wine the way the Windows build's tests do (that build's
# CMake emulator): quietly, in the prefix WINEPREFIX names (the tests make a fresh one for
# each run), without offering to download Mono or Gecko, which no program of ours needs.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
