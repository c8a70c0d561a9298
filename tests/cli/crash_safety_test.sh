#!/usr/bin/env bash
# Kills quillet-batch with SIGKILL at random moments while it strips a folder over its
# originals and while it exports one. Afterwards every original is either as it was or
# completely rewritten, never cut short; an XML.xml exists only when it is complete; and
# what a killed run left behind is never listed as input by the next run.
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"

files=100
pristine=$work/pristine
expected=$work/expected
mkdir -p "$pristine" "$expected"
line=$(printf 'Zeile mit Text und {8}Klammern{/8} darin, %.0s' {1..8})
for i in $(seq -w 1 $files); do
    {
        printf '{TITEL}Titel %s{/TITEL}\r\n\r\n{TEXT}' "$i"
        for _ in $(seq 1 $((40 + 10#$i % 60))); do printf '%s\r\n' "$line"; done
        printf '{/TEXT}\r\n\r\n'
    } >"$pristine/f$i.txt"
    "$bin" strip <"$pristine/f$i.txt" >"$expected/f$i.txt"
done

kill_after() { # seconds command...: runs the command and kills it with SIGKILL
    local delay=$1; shift
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep "$delay"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

check_originals() { # round folder
    local name f base
    for f in "$pristine"/*.txt; do
        base=$(basename "$f")
        if cmp -s "$2/$base" "$f" || cmp -s "$2/$base" "$expected/$base"; then :; else
            fail "round $1: $base is neither the original nor the stripped text ($(stat -c %s "$2/$base" 2>&1) bytes)"
            return
        fi
    done
    ok
    # Leftovers of a killed write must not look like input to the next run.
    for name in $(ls -A "$2"); do
        case "${name,,}" in
            *.txt) [ -f "$pristine/$name" ] || { fail "round $1: leftover $name is listed as input"; return; } ;;
        esac
    done
    ok
}

# Kill times spread over the length of one whole run, measured here.
start=$(date +%s%N)
cp -r "$pristine" "$work/timing"
"$bin" strip-folder --overwrite "$work/timing" >/dev/null
"$bin" export "$pristine" "$work/timing" >/dev/null
strip_ms=$(( ($(date +%s%N) - start) / 1000000 + 10 ))
rm -rf "$work/timing"
random_delay() { local ms=$(( $1 * RANDOM / 32768 )); printf "%d.%03d" $((ms / 1000)) $((ms % 1000)); }

for round in $(seq 1 6); do
    run=$work/strip$round
    cp -r "$pristine" "$run"
    delay=$(random_delay $strip_ms)
    kill_after "$delay" "$bin" strip-folder --overwrite "$run"
    check_originals "$round (killed after ${delay}s)" "$run"
    # The next run completes over whatever the killed one left.
    if "$bin" strip-folder --overwrite "$run" >/dev/null 2>"$work/err"; then ok; else
        fail "round $round: rerun failed: $(cat "$work/err")"; fi
    for f in "$expected"/*.txt; do
        cmp -s "$run/$(basename "$f")" "$f" || { fail "round $round: rerun left $(basename "$f") wrong"; break; }
    done
    rm -rf "$run"
done

for round in $(seq 1 6); do
    target=$work/target$round
    mkdir -p "$target"
    delay=$(random_delay $strip_ms)
    kill_after "$delay" "$bin" export "$pristine" "$target"
    xml=$(find "$target" -name XML.xml)
    if [ -z "$xml" ]; then
        ok
    elif xmllint --noout "$xml" 2>/dev/null && [ "$(grep -c '^<Daten>' "$xml")" -eq $files ]; then
        ok
    else
        fail "export round $round (killed after ${delay}s): an incomplete XML.xml was left"
    fi
    rm -rf "$target"
done

finish
