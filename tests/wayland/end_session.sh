#!/usr/bin/env bash
# Ends every process that still carries a session's marker in its environment: what a test
# session started, and what its bus or its compositor started on their own.
# usage: end_session.sh VARIABLE VALUE
set -uo pipefail
marker="$1=$2"
pids() {
  # Runs without the marker itself, so only the session's processes match.
  env -u "$1" sh -c 'grep -lzxF "$1" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3' _ "$marker"
}
for signal in TERM TERM TERM KILL; do
  left=$(pids "$1" | grep -vx "$$" || true)
  [ -z "$left" ] && exit 0
  kill -"$signal" $left 2>/dev/null || true
  sleep 0.3
done
