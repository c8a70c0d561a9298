#!/usr/bin/env bash
# The capture path as Windows code, end to end: Wine's Notepad in front with a line
# selected, the keys pressed through xdotool, and the capture core with the Win32 steps
# (quillet-wine-capture) taking what Notepad copies. F2 and F4 capture, F4 once more with
# nothing selected finds the clipboard unchanged. Then Wine's console in front, with a
# program waiting in it: F4 sends it no Ctrl+C and takes only a copy made there by hand,
# once. F6 inserts the user's own short date, as Wine's cmd writes it; F10 saves; the
# file's name and bytes are compared.
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

# Waits up to 30 s for more than N (none unless given) lines of the program's output that
# are this line.
said() { # line [N]
    for _ in $(seq 300); do
        [ "$(grep -cxF "$1" "$work/said")" -gt "${2:-0}" ] && return 0
        kill -0 "$capture" 2>/dev/null || break
        sleep 0.1
    done
    [ "$(grep -cxF "$1" "$work/said")" -gt "${2:-0}" ]
}
# Waits up to 30 s for a window that xdotool finds with these arguments.
window() {
    for _ in $(seq 300); do
        xdotool search "$@" 2>/dev/null | head -1 | grep . && return 0
        sleep 0.1
    done
    return 1
}

wineboot -i >"$work/boot.log" 2>&1 || { cat "$work/boot.log"; echo "FAIL wineboot"; exit 1; }
# A short date of the user's own, and selecting with the mouse in consoles (QuickEdit, on
# by default on Windows 10 and later).
wine reg add 'HKCU\Control Panel\International' /v sShortDate /d yyyy/MM/dd /f >/dev/null 2>&1
wine reg add 'HKCU\Console' /v QuickEdit /t REG_DWORD /d 1 /f >/dev/null 2>&1

# Notepad reads UTF-16 with a byte order mark as Unicode: umlauts, typographic quotes, the
# euro sign, and what Windows-1252 lacks (Greek, an emoji).
{
    printf '\xff\xfe'
    printf 'M\303\274ller & S\303\266hne \342\200\236Zitat\342\200\234 \342\200\223 5 \342\202\254\r\n' |
        iconv -f UTF-8 -t UTF-16LE
    printf 'Text mit \316\261 und \360\237\230\200 Ende\r\n' | iconv -f UTF-8 -t UTF-16LE
} >"$work/Quelle.txt"
(cd "$work" && exec wine notepad Quelle.txt) >/dev/null 2>&1 &
notepad=$(window --name 'Quelle.txt') && ok || { fail "Notepad did not open"; finish; exit; }

mkdir -p "$work/saved"
wine "$program" "$work/saved" >"$work/said" 2>&1 &
capture=$!
said ready && ok || { fail "no start: $(cat "$work/said")"; finish; exit; }

# Each key with the window in front; the next only once the capture said what it did.
press() { # window keys-before key notification
    local before
    before=$(grep -cxF "notification $4" "$work/said")
    xdotool windowactivate --sync "$1" 2>/dev/null
    # shellcheck disable=SC2086
    [ -z "$2" ] || xdotool key --delay 50 $2
    xdotool key "$3"
    said "notification $4" "$before" && ok || fail "$3 after '$2': $(cat "$work/said")"
}
press "$notepad" "ctrl+Home shift+End" F2 "Titel kopiert.."
press "$notepad" "Down Home shift+End" F4 "Text kopiert.."
press "$notepad" "End" F4 "Keine Kopie: alter Text.."

# find waits for input in the console, where Ctrl+C would end it and close the window.
line='Zeile aus der Konsole: Müller'
wine start cmd /c "echo $line& find \"Ende\"" </dev/null >/dev/null 2>&1
console=$(window --onlyvisible --class conhost.exe) && ok || fail "no console window"
press "$console" "" F4 "Keine neue Kopie.."
# The first line selected with the mouse (trailing blanks are not copied), Enter copies.
xdotool mousemove --window "$console" 1 8 mousedown 1 mousemove --window "$console" 300 8 \
    mousemove --window "$console" 600 8 mouseup 1 key Return
for _ in $(seq 100); do
    [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$line" ] && break
    sleep 0.1
done
press "$console" "" F4 "Text kopiert.."
press "$console" "" F4 "Keine neue Kopie.."

day=$(wine cmd /c 'echo %DATE%' | tr -d '\r\n')
press "$notepad" "" F6 "Aufnahmedatum eingefügt.."
press "$notepad" "" F10 "Datei gespeichert.."
wait "$capture" && ok || fail "the program ended with status $?"
# The console's program survived the keys; Ctrl+C would have ended it.
xdotool getwindowname "$console" >/dev/null 2>&1 && ok || fail "the console's program ended"
xdotool windowactivate --sync "$console" key ctrl+c
for _ in $(seq 100); do
    xdotool getwindowname "$console" >/dev/null 2>&1 || break
    sleep 0.1
done
! xdotool getwindowname "$console" >/dev/null 2>&1 && ok || fail "Ctrl+C leaves find running"

# The user's date as Wine's cmd writes it (GetDateFormat, the user's short date).
[[ $day =~ ^[0-9]{4}/[0-9]{2}/[0-9]{2}$ ]] && ok || fail "cmd's date: $day"
saved=("$work"/saved/*.txt)
[ "${saved[*]}" = "$work/saved/Notepad${day//\//-}_0.txt" ] && ok || fail "saved: $(ls "$work/saved")"
# Windows-1252, the captures in their sections, "?" for Greek and the emoji, cleaned.
printf '{TITEL}M\374ller & S\366hne \204Zitat\223 \226 5 \200{/TITEL}\r\n\r\n{TEXT}Text mit ? und ? Ende\r\n\r\nText mit ? und ? Ende\r\n\r\nZeile aus der Konsole: M\374ller{/TEXT}\r\n\r\n{A_DATUM}%s{/A_DATUM}\r\n\r\n' "$day" >"$work/want"
cmp -s "${saved[0]}" "$work/want" && ok || fail "saved bytes: $(od -An -c "${saved[0]}" | tr -s ' ')"
! grep -q '^error' "$work/said" && ok || fail "errors: $(cat "$work/said")"
finish
