#!/usr/bin/env bash
# Capture in a Wayland session, end to end. Quillet runs on Xwayland as in a desktop
# session; the reader is a native Wayland program; keys go through the compositor's input.
#   kde:  KWin 5.27 with the real xdg-desktop-portal and xdg-desktop-portal-kde. Keys pressed
#         through KWin's fake input reach Quillet as portal activations; Quillet presses
#         Ctrl+C through KWin's fake input, granted by its own .desktop file.
#   sway: sway 1.7 as an unprivileged user, no portal. wtype presses keys that sway binds to
#         `quillet --hotkey N`; Quillet presses Ctrl+C through its virtual keyboard.
#   kde-primary: KWin without the grant. Quillet says so and takes the highlighted text,
#         each key only when it changed since that key last took it.
# All read through data-control and take only what is new (a late copy once it lands, a
# highlight once per key), save with F10 and compare the saved file byte for byte. In kde
# and sway a terminal in front (xterm on Xwayland, foot) gets no Ctrl+C, which would end
# its command: its highlighted line is taken instead.
# usage: wayland_e2e.sh kde|kde-primary|sway QUILLET READER PRESS_KEYS
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [ "${1:-}" != --inside ]; then
  desktop=$1 quillet=$(readlink -f "$2") reader=$(readlink -f "$3") press=$(readlink -f "$4")
  setup=$(mktemp -d)
  trap 'rm -rf "$setup"' EXIT
  case "$desktop" in
  kde | kde-primary)
    # KWin grants fake input to the executables that .desktop files name: Quillet's own
    # entry, pointed at the built program, and one for the test's key presser.
    mkdir "$setup/apps"
    [ "$desktop" = kde ] && sed "s|^Exec=.*|Exec=$quillet|" \
      "$here/../../app/resources/org.quillet.Quillet.desktop" >"$setup/apps/org.quillet.Quillet.desktop"
    printf '[Desktop Entry]\nType=Application\nName=Keys\nExec=%s\nX-KDE-Wayland-Interfaces=%s\n' \
      "$press" org_kde_kwin_fake_input >"$setup/apps/press-keys.desktop"
    "$here/../wayland/kde_session.sh" "$setup/apps" "$0" --inside "$desktop" "$quillet" "$reader" \
      "$press"
    ;;
  sway)
    # Everything runs as nobody, who may not read the build: the programs go along.
    session=$(mktemp -d /tmp/quillet-sway.XXXXXX)
    mkdir "$session/bin"
    cp "$quillet" "$reader" "$0" "$session/bin/"
    bin=$session/bin
    # What the README tells sway users: the keys, and no focus for the confirmation.
    cat >"$setup/config" <<EOF
no_focus [title="^Information\.\.$"]
bindsym F2 exec $bin/quillet --hotkey 2
bindsym 1 exec $bin/quillet --hotkey 13
bindsym F4 exec $bin/quillet --hotkey 4
bindsym F10 exec $bin/quillet --hotkey F10
EOF
    SWAY_SESSION_DIR=$session "$here/../wayland/sway_session.sh" "$setup/config" \
      "$bin/$(basename "$0")" --inside sway "$bin/quillet" "$bin/$(basename "$reader")" wtype
    ;;
  *)
    echo "usage: $0 kde|kde-primary|sway QUILLET READER PRESS_KEYS" >&2
    exit 2
    ;;
  esac
  exit
fi

desktop=$2 quillet=$3 reader=$4 press=$5
export LC_ALL=C.UTF-8 # sway's session starts with an empty environment; wtype types UTF-8
# Under sway the test runs as nobody, in the session's folder of that user.
if [ "$desktop" = sway ]; then work=$(mktemp -d "$SWAY_SESSION_DIR/work/e2e.XXXXXX"); else work=$(mktemp -d); fi
pids=()
cleanup() {
  exec 4>&- 2>/dev/null || true
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
report() {
  for w in $(xdotool search --name . 2>/dev/null); do
    echo "window: $(xdotool getwindowname "$w") $(xwininfo -id "$w" | grep -o 'Map State: .*')" >&2
  done
  [ -f "$work/reader.out" ] && sed 's/^/reader: /' "$work/reader.out" >&2
  [ -f "$work/quillet.log" ] && sed 's/^/quillet: /' "$work/quillet.log" >&2
  return 0
}
die() {
  echo "FAIL: $*" >&2
  report
  exit 1
}
wait_for() { # tenths of a second, then a command run anew each time
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

press_key() {
  if [ "$desktop" = sway ]; then wtype -k "$1"; else "$press" "$1" >/dev/null; fi
}

if [ "$desktop" = sway ]; then
  # Before Quillet runs, the command says so and starts nothing.
  if "$quillet" --hotkey 2 2>"$work/early.err"; then fail "quillet --hotkey without Quillet succeeded"; fi
  grep -q "not running" "$work/early.err" || fail "quillet --hotkey said: $(cat "$work/early.err")"
  xdotool search --name '^Quillet ver' >/dev/null 2>&1 && fail "quillet --hotkey started Quillet"
fi

# --- Quillet on Xwayland, the reader on Wayland ------------------------------------------
mkdir "$work/PATH" # the save folder field starts as "PATH"
(cd "$work" && unset QT_QPA_PLATFORM && LC_ALL=C.UTF-8 exec "$quillet") >"$work/quillet.log" 2>&1 &
pids+=($!)
quillet_pid=$!
xdotool search --sync --onlyvisible --name '^Quillet ver\. 1\.4\.0\.1$' >/dev/null 2>&1 \
  || die "the main window did not show"

# The portal has the keys once KDE's shortcut service knows the session.
bound() {
  gdbus call --session --dest org.kde.kglobalaccel --object-path /kglobalaccel \
    --method org.kde.KGlobalAccel.allComponents 2>/dev/null | grep -q /component/quillet
}
# What does not work here, said once in a box.
notice() { xdotool search --onlyvisible --name '^Information$' >/dev/null 2>&1; }
case "$desktop" in
kde)
  wait_for 100 bound || die "the portal did not bind Quillet's keys"
  ;;
kde-primary)
  wait_for 100 bound || die "the portal did not bind Quillet's keys"
  wait_for 100 notice || die "Quillet did not tell that it cannot press Ctrl+C"
  press_key return # as the user would, to the box in front
  wait_for 50 eval '! notice' || die "the notice did not close"
  ;;
sway)
  wait_for 100 notice || die "Quillet did not tell that it gets no keys from the desktop"
  swaymsg '[title="^Information$"] kill' >/dev/null
  ;;
esac

mkfifo "$work/reader.in"
(export QT_QPA_PLATFORM=wayland && exec "$reader") <"$work/reader.in" >"$work/reader.out" \
  2>"$work/reader.log" &
pids+=($!)
exec 4>"$work/reader.in"
reader_active() { [ "$(grep -E '^(active|inactive)$' "$work/reader.out" | tail -1)" = active ]; }
wait_for 100 reader_active || die "the reader did not get the focus"
# Quillet takes nothing from its own window: let it see that it lost the focus.
quillet_unfocused() { ! xdotool getwindowfocus getwindowname 2>/dev/null | grep -q '^Quillet'; }
wait_for 50 quillet_unfocused || die "Quillet keeps the X input focus"
sleep 0.2

selections=0
select_text() {
  selections=$((selections + 1))
  echo "select $1" >&4
  selected() { [ "$(grep -c '^selected$' "$work/reader.out")" -ge "$selections" ]; }
  wait_for 50 selected || die "the reader did not take the selection"
}
copies() { grep -c '^key Ctrl+C$' "$work/reader.out" || true; }
# Presses a hot key and waits until Quillet's Ctrl+C has reached the reader (the capture
# reads the copy next); prints the milliseconds from the key to the Ctrl+C. KWin hides the
# notification window (a tool window) while another program is active, so it is no sign.
capture() {
  local key=$1 before start
  before=$(copies)
  start=$(now_ms)
  press_key "$key"
  copied() { [ "$(copies)" -gt "$before" ]; }
  if ! wait_for 100 copied; then
    fail "no Ctrl+C came after $key"
    return
  fi
  echo "$key: Ctrl+C in the reader $(($(now_ms) - start)) ms after the key" >&2
  grep -q "^key $key\$" "$work/reader.out" && fail "$key reached the reader, not Quillet"
  reader_active || fail "the reader lost the focus after $key"
}

# A terminal runs a command that prints a line and waits, and highlights that line. sway:
# foot, the line found with its search as a user would (Ctrl+Shift+R, the text, Return).
# KWin: foot 1.13 stops on KWin's virtual output, and Xwayland ignores faked pointer
# clicks, so xterm on Xwayland, which sets its selection on the command's request (OSC 52).
line='Grüße aus dem Terminal – 5 €'
highlight_in_terminal() {
  printf '%s' "$line" >"$work/line.txt"
  local run='cat line.txt; echo; echo $$ >command.pid; exec sleep 600'
  if [ "$desktop" = sway ]; then
    (cd "$work" && exec foot sh -c "$run") >"$work/terminal.log" 2>&1 &
  else
    (cd "$work" && exec xterm -xrm 'XTerm*allowWindowOps: true' -xrm 'XTerm*disallowedWindowOps: 1' \
      -e sh -c 'printf "\033]52;p;%s\a" "$(base64 -w0 line.txt)"; '"$run") >"$work/terminal.log" 2>&1 &
  fi
  pids+=($!)
  wait_for 100 test -s "$work/command.pid" || die "the terminal did not start: $(cat "$work/terminal.log")"
  if [ "$desktop" = sway ]; then
    highlighted() { [ "$(wl-paste --primary --no-newline 2>/dev/null)" = "$line" ]; }
    foot_focused() { swaymsg -t get_tree | grep -q '"app_id": "foot"'; }
    wait_for 50 foot_focused || die "foot did not show"
    for _ in 1 2 3; do # keys sent while foot still maps its window are lost
      wtype -M ctrl -M shift -k r -m shift -m ctrl -s 100 "$line" -s 100 -k Return
      wait_for 20 highlighted && break
      wtype -k Escape
    done
  else
    highlighted() { [ "$(xclip -o -selection primary 2>/dev/null)" = "$line" ]; }
  fi
  wait_for 50 highlighted || die "the terminal highlighted nothing"
}

save() {
  local start
  start=$(now_ms)
  press_key F10
  saved_file() {
    local files=("$work"/PATH/MEDIENNAME_QUELLE*_0.txt)
    [ -s "${files[0]}" ]
  }
  wait_for 100 saved_file && echo "F10: file saved $(($(now_ms) - start)) ms after the key" >&2
}

if [ "$desktop" = kde-primary ]; then
  # A selection made by keys, as a person makes it; no key presses Ctrl+C. The same key
  # twice takes the highlight once; another key takes it too.
  select_text "Markiert – nicht kopiert"
  press_key ctrl+a
  highlighted() { grep -q '^key Ctrl+A$' "$work/reader.out"; }
  wait_for 50 highlighted || die "the reader did not see Ctrl+A"
  sleep 0.2 # for the compositor to pass the new highlight on
  for key in F2 F2 1; do press_key "$key"; done
  save
  printf '{TITEL}Markiert \x96 nicht kopiert{/TITEL}\r\n\r\n{QUELLE}Markiert \x96 nicht kopiert{/QUELLE}\r\n\r\n' \
    >"$work/expected"
  [ "$(copies)" = 0 ] || fail "a key pressed Ctrl+C without the grant"
else
  select_text "Grüße – Auswahl für 5 €"
  capture F2
  select_text "Zeitung, Seite 7"
  capture 1
  # A copy that lands 800 ms late, as from a viewer collecting many pages: the capture
  # waits for it instead of taking the clipboard's older text.
  echo "delay 800" >&4
  select_text "Spät kopiert"
  capture F4
  landed() { grep -q '^landed$' "$work/reader.out"; }
  wait_for 50 landed || fail "the reader's late copy did not land"
  printf '{TITEL}Gr\xfc\xdfe \x96 Auswahl f\xfcr 5 \x80{/TITEL}\r\n\r\n{QUELLE}Zeitung, Seite 7{/QUELLE}\r\n\r\n{TEXT}Sp\xe4t kopiert{/TEXT}\r\n\r\n' \
    >"$work/expected"
  # A terminal in front gets no Ctrl+C, which would end the command it runs: F3 twice
  # takes its highlighted line once.
  highlight_in_terminal
  for _ in 1 2; do if [ "$desktop" = sway ]; then "$quillet" --hotkey 3; else press_key F3; fi; done
  save
  kill -0 "$(cat "$work/command.pid")" 2>/dev/null || fail "the command in the terminal did not survive F3"
  printf '{UNTERTITEL}Gr\xfc\xdfe aus dem Terminal \x96 5 \x80{/UNTERTITEL}\r\n\r\n' >>"$work/expected"
fi

saved=("$work"/PATH/MEDIENNAME_QUELLE*_0.txt)
if [ ! -f "${saved[0]}" ]; then
  fail "F10 saved no file: $(ls "$work/PATH")"
elif ! cmp -s "$work/expected" "${saved[0]}"; then
  fail "the saved file holds $(od -c "${saved[0]}" | head -5)"
fi

kill -0 "$quillet_pid" 2>/dev/null || fail "Quillet ended during the test"
if [ "$failures" -gt 0 ]; then
  report
  exit 1
fi
echo "ok: $desktop"
