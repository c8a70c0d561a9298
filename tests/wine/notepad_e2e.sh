#!/usr/bin/env bash
# The capture path as Windows code, end to end: Wine's Notepad in front with a line
# selected, the keys pressed through xdotool, and the capture core with the Win32 steps
# (quillet-wine-capture) taking what Notepad copies. F2 and F4 capture, F4 once more with
# nothing selected finds the clipboard unchanged, F10 saves; the file's bytes are compared.
# Runs inside tests/xvfb/run_under_xvfb.sh, in a Wine prefix of its own made there: the
# prefix of the other tests is made without a display.
# usage: notepad_e2e.sh quillet-wine-capture.exe
set -u
program=$1
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
cleanup() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "${BASH_SOURCE[0]}")/../support/check.sh"

# Waits up to 30 s for a line of the program's output that starts with these words.
said() {
    for _ in $(seq 300); do
        grep -qxF "$1" "$work/said" && return 0
        kill -0 "$capture" 2>/dev/null || break
        sleep 0.1
    done
    grep -qxF "$1" "$work/said"
}

wineboot -i >"$work/boot.log" 2>&1 || { cat "$work/boot.log"; echo "FAIL wineboot"; exit 1; }

# Notepad reads UTF-16 with a byte order mark as Unicode: umlauts, typographic quotes, the
# euro sign, and what Windows-1252 lacks (Greek, an emoji).
{
    printf '\xff\xfe'
    printf 'M\303\274ller & S\303\266hne \342\200\236Zitat\342\200\234 \342\200\223 5 \342\202\254\r\n' |
        iconv -f UTF-8 -t UTF-16LE
    printf 'Text mit \316\261 und \360\237\230\200 Ende\r\n' | iconv -f UTF-8 -t UTF-16LE
} >"$work/Quelle.txt"
(cd "$work" && exec wine notepad Quelle.txt) >/dev/null 2>&1 &
notepad=""
for _ in $(seq 300); do
    notepad=$(xdotool search --name 'Quelle.txt' 2>/dev/null | head -1)
    [ -n "$notepad" ] && break
    sleep 0.1
done
[ -n "$notepad" ] && ok || { fail "Notepad did not open"; finish; exit; }

mkdir -p "$work/saved"
wine "$program" "$work/saved" >"$work/said" 2>&1 &
capture=$!
said ready && ok || { fail "no start: $(cat "$work/said")"; finish; exit; }

# Each key with Notepad in front; the next only once the capture said what it did.
press() { # keys-before key notification
    xdotool windowactivate --sync "$notepad" 2>/dev/null
    # shellcheck disable=SC2086
    [ -z "$1" ] || xdotool key --delay 50 $1
    xdotool key "$2"
    said "notification $3" && ok || fail "$2 after '$1': $(cat "$work/said")"
}
press "ctrl+Home shift+End" F2 "Titel kopiert.."
press "Down Home shift+End" F4 "Text kopiert.."
press "End" F4 "Keine Kopie: alter Text.."
press "" F10 "Datei gespeichert.."
wait "$capture" && ok || fail "the program ended with status $?"

saved=("$work"/saved/*.txt)
[ ${#saved[@]} -eq 1 ] && [ -f "${saved[0]}" ] && ok || fail "saved: $(ls "$work/saved")"
# Windows-1252, the captures in their sections, "?" for Greek and the emoji, cleaned.
printf '{TITEL}M\374ller & S\366hne \204Zitat\223 \226 5 \200{/TITEL}\r\n\r\n{TEXT}Text mit ? und ? Ende\r\n\r\nText mit ? und ? Ende{/TEXT}\r\n\r\n' >"$work/want"
cmp -s "${saved[0]}" "$work/want" && ok || fail "saved bytes: $(od -An -c "${saved[0]}" | tr -s ' ')"
! grep -q '^error' "$work/said" && ok || fail "errors: $(cat "$work/said")"
finish
