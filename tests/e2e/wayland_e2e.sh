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
#   gnome: mutter 43, no portal, no data-control. The reader is a GTK 3 program; its text is
#         highlighted with keys through mutter's own seat (tests/wayland/mutter_seat.py), and
#         each key runs `quillet --hotkey N` as GNOME's custom shortcut does. Quillet reads
#         the highlight with a moment of keyboard focus and must give the focus back.
#   gnome-shell: the same in GNOME Shell 43, with the custom shortcuts that
#         `quillet --setup-gnome-shortcuts` writes: the keys go through the seat, and GNOME's
#         media-keys service runs the commands.
# All take only what is new (a late copy once it lands, a highlight once per key), save with
# F10 and compare the saved file byte for byte. No test closes Quillet's notice first: it
# must block nothing. In kde and sway a terminal in front (xterm on Xwayland, foot) gets no
# Ctrl+C, which would end its command: its highlighted line is taken instead.
# usage: wayland_e2e.sh kde|kde-primary|sway|gnome|gnome-shell QUILLET READER PRESS_KEYS
#   (GNOME brings its own reader and seat from tests/wayland/)
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
  gnome | gnome-shell)
    shell=()
    [ "$desktop" = gnome-shell ] && shell=(--shell)
    "$here/../wayland/gnome_session.sh" "${shell[@]}" "$0" --inside "$desktop" "$quillet" \
      "$here/../wayland/gtk_reader.py" "$here/../wayland/mutter_seat.py"
    ;;
  *)
    echo "usage: $0 kde|kde-primary|sway|gnome|gnome-shell QUILLET READER PRESS_KEYS" >&2
    exit 2
    ;;
  esac
  exit
fi

desktop=$2 quillet=$3 reader=$4 press=$5
export LC_ALL=C.UTF-8 # sway's session starts with an empty environment; wtype types UTF-8
gnome=0
case "$desktop" in gnome*) gnome=1 ;; esac
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

if [ "$gnome" = 1 ]; then
  # One process holds the seat's keyboard and pointer for the whole test.
  mkfifo "$work/seat.in"
  "$press" <"$work/seat.in" >"$work/seat.out" 2>"$work/seat.log" &
  pids+=($!)
  exec 5>"$work/seat.in"
  seat_ready() { grep -q '^ready$' "$work/seat.out"; }
  wait_for 100 seat_ready || die "mutter made no keyboard for the seat: $(cat "$work/seat.log")"
fi
seat_commands=0
seat() {
  seat_commands=$((seat_commands + 1))
  echo "$*" >&5
  seat_done() { [ "$(grep -c '^done$' "$work/seat.out")" -ge "$seat_commands" ]; }
  wait_for 50 seat_done || die "the seat did not do: $*"
}
press_key() {
  case "$desktop" in
  sway) wtype -k "$1" ;;
  gnome*) seat key "$1" ;;
  *) "$press" "$1" >/dev/null ;;
  esac
}
# A hot key: in GNOME without the shell, run what its custom shortcut runs (F-keys by name).
hot_key() {
  if [ "$desktop" != gnome ]; then
    press_key "$1"
    return
  fi
  local id
  case "$1" in 0) id=11 ;; 1) id=13 ;; 2) id=12 ;; 3) id=14 ;; 4) id=16 ;; *) id=$1 ;; esac
  "$quillet" --hotkey "$id" || fail "quillet --hotkey $id was not handed over"
}

if [ "$desktop" = sway ]; then
  # Before Quillet runs, the command says so and starts nothing.
  if "$quillet" --hotkey 2 2>"$work/early.err"; then fail "quillet --hotkey without Quillet succeeded"; fi
  grep -q "not running" "$work/early.err" || fail "quillet --hotkey said: $(cat "$work/early.err")"
  xdotool search --name '^Quillet ver' >/dev/null 2>&1 && fail "quillet --hotkey started Quillet"
fi

if [ "$desktop" = gnome-shell ]; then
  "$quillet" --setup-gnome-shortcuts >"$work/setup.out" 2>&1 \
    || die "the set-up of GNOME's shortcuts failed: $(cat "$work/setup.out")"
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
# What does not work here, said once in a window that is left open.
notice() { xdotool search --onlyvisible --name '^Information$' >/dev/null 2>&1; }
case "$desktop" in
kde)
  wait_for 100 bound || die "the portal did not bind Quillet's keys"
  ;;
kde-primary)
  wait_for 100 bound || die "the portal did not bind Quillet's keys"
  wait_for 100 notice || die "Quillet did not tell that it cannot press Ctrl+C"
  ;;
sway | gnome*)
  wait_for 100 notice || die "Quillet did not tell that it gets no keys from the desktop"
  ;;
esac

mkfifo "$work/reader.in"
(export QT_QPA_PLATFORM=wayland GDK_BACKEND=wayland && exec "$reader") <"$work/reader.in" \
  >"$work/reader.out" 2>"$work/reader.log" &
pids+=($!)
exec 4>"$work/reader.in"
reader_active() { [ "$(grep -E '^(active|inactive)$' "$work/reader.out" | tail -1)" = active ]; }
if [ "$gnome" = 1 ]; then
  # mutter may leave a new window without the focus: the user would click it, beside Quillet
  # (GNOME Shell starts in its overview, which Escape leaves).
  for _ in $(seq 20); do
    [ "$desktop" = gnome-shell ] && press_key escape
    seat click 100 100 800
    wait_for 5 reader_active && break
  done
fi
wait_for 100 reader_active || die "the reader did not get the focus"
if [ "$desktop" = gnome-shell ]; then
  # The shortcuts work once the media-keys service has had the shell grab them: F8 (whose
  # box is off, so Quillet does nothing with it) no longer reaches the reader before Home.
  grabbed=0
  for round in $(seq 50); do
    press_key F8
    press_key home
    homes() { [ "$(grep -c '^key Home$' "$work/reader.out")" -ge "$round" ]; }
    wait_for 50 homes || die "the reader does not see the keys"
    if [ "$(grep -c '^key F8$' "$work/reader.out")" -lt "$round" ]; then
      grabbed=1
      break
    fi
  done
  [ "$grabbed" = 1 ] || die "GNOME never took the custom shortcuts: $(cat "$work/setup.out")"
fi
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
    # KWin hands an X11 selection on to Wayland only while an X11 window is active, as it is
    # when a person selects with the mouse: the line is highlighted once xterm has the focus.
    mkfifo "$work/highlight"
    (cd "$work" && exec xterm -T 'Quillet Terminal' -xrm 'XTerm*allowWindowOps: true' \
      -xrm 'XTerm*disallowedWindowOps: 1' -e sh -c 'cat line.txt; echo; echo $$ >command.pid; read -r _ <highlight; printf "\033]52;p;%s\a" "$(base64 -w0 line.txt)"; exec sleep 600') \
      >"$work/terminal.log" 2>&1 &
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
    xterm_focused() { xdotool getwindowfocus getwindowname 2>/dev/null | grep -q '^Quillet Terminal$'; }
    wait_for 50 xterm_focused || die "xterm did not get the focus"
    echo >"$work/highlight"
  fi
  wait_for 50 highlighted || die "the terminal highlighted nothing"
}

save() {
  local start
  start=$(now_ms)
  hot_key F10
  saved_file() {
    local files=("$work"/PATH/MEDIENNAME_QUELLE*_0.txt)
    [ -s "${files[0]}" ]
  }
  wait_for 100 saved_file && echo "F10: file saved $(($(now_ms) - start)) ms after the key" >&2
}

if [ "$desktop" = kde-primary ] || [ "$gnome" = 1 ]; then
  # A selection made by keys, as a person makes it; no key presses Ctrl+C. The same key
  # twice takes the highlight once; another key takes it too, and a new highlight is news.
  highlights=0
  highlight() {
    select_text "$1"
    highlights=$((highlights + 1))
    press_key ctrl+a
    highlighted() { [ "$(grep -c '^key Ctrl+A$' "$work/reader.out")" -ge "$highlights" ]; }
    wait_for 50 highlighted || die "the reader did not see Ctrl+A"
    sleep 0.2 # for the compositor to pass the new highlight on
  }
  # The document as its recovery copy holds it a moment after each capture.
  copy=${XDG_DATA_HOME:-$HOME/.local/share}/Quillet/unsaved-document.txt
  holds() { printf '%b' "$1" | cmp -s - "$copy"; }
  take() { # KEY DOCUMENT
    local away
    away=$(grep -c '^inactive$' "$work/reader.out" || true)
    hot_key "$1"
    wait_for 100 holds "$2" || fail "after $1 the document is $(od -c "$copy" 2>&1 | head -3)"
    grep -q "^key $1\$" "$work/reader.out" && fail "$1 reached the reader, not Quillet"
    [ "$gnome" = 1 ] || return 0
    # Quillet read with a moment of focus, and the reader has it again.
    back() { [ "$(grep -c '^inactive$' "$work/reader.out")" -gt "$away" ] && reader_active; }
    wait_for 50 back || fail "the reader did not get the focus back after $1"
  }
  highlight "Grüße – „Zitat“ für 5 €"
  quote='Gr\xfc\xdfe \x96 \x84Zitat\x93 f\xfcr 5 \x80'
  title="{TITEL}$quote{/TITEL}\r\n\r\n" source="{QUELLE}$quote{/QUELLE}\r\n\r\n"
  take F2 "$title"
  if [ "$gnome" = 1 ]; then
    gone() { ! notice; }
    wait_for 50 gone || fail "the notice stayed once a key came through quillet --hotkey"
  fi
  take F2 "$title" # nothing new
  take 1 "$title$source"
  highlight "Zeitung, Seite 7"
  take F4 "$title$source{TEXT}Zeitung, Seite 7{/TEXT}\r\n\r\n"
  save
  printf '%b' "$title$source{TEXT}Zeitung, Seite 7{/TEXT}\r\n\r\n" >"$work/expected"
  [ "$(copies)" = 0 ] || fail "a key pressed Ctrl+C without the grant"
else
  select_text "Grüße – Auswahl für 5 €"
  capture F2
  if [ "$desktop" = sway ]; then
    gone() { ! notice; }
    wait_for 50 gone || fail "the notice stayed once a key came through quillet --hotkey"
  fi
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
