#!/usr/bin/env bash
# Process start to the main window shown, and the idle program's resident memory, under
# Xvfb with openbox. The window counts as shown once the X server reports it viewable.
#   bench/startup_memory.sh [path/to/quillet] [runs]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
program=${1:-$root/build/release/app/quillet}
runs=${2:-5}
[ -x "$program" ] || { echo "no program at $program (cmake --build --preset release)" >&2; exit 1; }

if [ -z "${QUILLET_BENCH_INNER:-}" ]; then
  QUILLET_BENCH_INNER=1 exec "$root/tests/xvfb/run_under_xvfb.sh" "$0" "$program" "$runs"
fi

now_ms() { date +%s%3N; }
for run in $(seq "$runs"); do
  start=$(now_ms)
  "$program" >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --pid "$pid" --name '^Quillet ver\. 1\.4\.0\.1$' >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "quillet ended early" >&2; exit 1; }
    sleep 0.005
  done
  shown=$(now_ms)
  sleep 3
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  echo "run $run: shown after $((shown - start)) ms, idle resident memory $((rss / 1024)) MB ($rss kB)"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done
