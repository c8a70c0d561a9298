#!/usr/bin/env bash
# Runs a Windows program under Wine the way the Windows build's tests do (that build's
# CMake emulator): quietly, in the prefix WINEPREFIX names (the tests make a fresh one for
# each run), without offering to download Mono or Gecko, which no program of ours needs.
# Without address randomization: Debian's wine64 loader sits at a fixed 0x7d000000, and the
# kernel may start its heap anywhere in the gigabyte above it, now and then on the page that
# Wine keeps for Windows' shared user data at 0x7ffe0000. Wine then exits with 1 before the
# program starts ("failed to map the shared user data"), about once in a few thousand starts.
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec setarch -R wine "$@"
