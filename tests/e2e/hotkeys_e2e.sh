#!/usr/bin/env bash
# The real program under a real X server (run it through tests/xvfb/run_under_xvfb.sh):
# real key presses from xdotool, the real clipboard, the reader window in front.
# usage: hotkeys_e2e.sh SCENARIO QUILLET READER
set -euo pipefail

scenario=$1 quillet=$2 reader=$3
work=$(mktemp -d)
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
  echo "focus: $(xdotool getwindowfocus getwindowname 2>&1 | tr '\n' ' ')" >&2
  [ -f "$work/reader.out" ] && sed 's/^/reader: /' "$work/reader.out" >&2
  [ -f "$work/quillet.log" ] && sed 's/^/quillet: /' "$work/quillet.log" >&2
  return 0
}
die() {
  echo "FAIL: $*" >&2
  report
  exit 1
}

# Polls a command for up to $1 tenths of a second. The command is run anew each time, so
# give it a function, not a test of values expanded once at the call.
wait_for() {
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# --- the two programs --------------------------------------------------------------------

mkfifo "$work/reader.in"
"$reader" <"$work/reader.in" >"$work/reader.out" 2>"$work/reader.log" &
pids+=($!)
exec 4>"$work/reader.in"
wait_for 100 grep -q '^window ' "$work/reader.out" || die "the reader did not come up"
reader_id=$(sed -n 's/^window //p' "$work/reader.out")
front_id=$reader_id # the window the user reads in
if [ "$scenario" = key-held-elsewhere ]; then
  # Another program holds F4 before Quillet starts.
  echo "grab F4" >&4
  wait_for 50 grep -q '^grabbed' "$work/reader.out" || die "the reader did not grab F4"
fi

# The save folder field starts as "PATH", a folder beside the program's working folder.
mkdir "$work/PATH"
# The recovery copy of the document lives in the data folder of this run.
export XDG_DATA_HOME="$work/data"
recovery_copy=$XDG_DATA_HOME/Quillet/unsaved-document.txt
# Captures from a browser or Evince record where the text came from.
quillet_args=()
case "$scenario" in chromium-page | firefox-page | evince-pdf) quillet_args=(--record-source) ;; esac
quillet_env=(LC_ALL=C.UTF-8)
if [ "$scenario" = german-date ]; then
  # German settings, from a locale built for this run rather than the machine's.
  mkdir "$work/locales"
  localedef -i de_DE -f UTF-8 "$work/locales/de_DE.UTF-8" >/dev/null 2>&1 || true
  [ -f "$work/locales/de_DE.UTF-8/LC_TIME" ] || die "localedef cannot build de_DE.UTF-8 (package locales)"
  quillet_env=(LC_ALL=de_DE.UTF-8 LOCPATH="$work/locales")
fi
start_quillet() {
  (cd "$work" && exec env "${quillet_env[@]}" "$quillet" "${quillet_args[@]}") >>"$work/quillet.log" 2>&1 &
  pids+=($!)
  quillet_pid=$!
  quillet_id=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quillet ver\. 1\.4\.0\.1$' | head -1) \
    || die "the main window did not show"
  [ -n "$quillet_id" ] || die "the main window did not show"
}
start_quillet

focus_is() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
box_id() { xdotool search --onlyvisible --name '^Warnung$' 2>/dev/null | head -1; }
lines_at_least() { [ "$(grep -c "^$1\$" "$work/reader.out" || true)" -ge "$2" ]; }
notification_hidden() { ! xdotool search --onlyvisible --name '^Information\.\.$' >/dev/null 2>&1; }
clipboard_is() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

selections=0
select_text() {
  selections=$((selections + 1))
  echo "select $1" >&4
  wait_for 50 lines_at_least selected "$selections" \
    || die "the reader did not take the selection"
}
focus_reader() {
  xdotool windowactivate --sync "$reader_id" >/dev/null 2>&1 || true
  echo activate >&4
  wait_for 50 focus_is "$reader_id" || die "the reader cannot get the focus"
}
reader_has_focus() { [ "$(xdotool getwindowfocus)" = "$front_id" ]; }
# How often the reader has seen this key so far.
reader_saw() { grep -c "^key $1\$" "$work/reader.out" || true; }

notification_visible() {
  xdotool search --onlyvisible --name '^Information\.\.$' >/dev/null 2>&1
}
# Presses a hot key and waits until its capture is over: the notification window shows up
# (once the copy has landed) and hides itself again.
capture() {
  local key=$1 before
  wait_for 40 notification_hidden || die "the notification window stays up"
  before=$(reader_saw "$key")
  xdotool key "$key"
  # The copy may take up to 3 s to land; a loaded machine adds to that.
  wait_for 100 notification_visible || { fail "no notification after $key"; return; }
  reader_has_focus || fail "the reader lost the focus after $key"
  [ "$(reader_saw "$key")" = "$before" ] || fail "$key reached the reader, not Quillet"
  wait_for 40 notification_hidden || fail "the notification window did not hide itself after $key"
}
# A key that Quillet must not take: it reaches the reader, and no notification shows.
reaches_reader() {
  local key=$1 name=$2 before
  before=$(reader_saw "$name")
  xdotool key "$key"
  wait_for 30 lines_at_least "key $name" $((before + 1)) || fail "$key did not reach the reader"
  sleep 0.5
  ! notification_visible || fail "$key was captured"
}

# The positions of controls in the window: the pages start 28 pixels below the client area's
# top in this style; a wrong guess shows as a failed check, never as a silent pass.
page_y=28
click_in_quillet() {
  xdotool windowactivate --sync "$quillet_id" >/dev/null 2>&1 || true
  xdotool mousemove --sync --window "$quillet_id" "$1" "$2" click 1
  sleep 0.3
}
controls_tab() { click_in_quillet 282 15; }
textview_tab() { click_in_quillet 40 15; }
click_box() { click_in_quillet $(($1 + 8)) $(($2 + page_y + 8)); }

# Memo1 as the user sees it, read through the clipboard: Ctrl+A, Ctrl+C in the text view.
# A marker in the clipboard first tells when Quillet's copy has arrived.
clipboard_is_not() { ! clipboard_is "$1"; }
memo_text() {
  local marker="marker $$"
  printf '%s' "$marker" | xclip -selection clipboard -i
  wait_for 30 clipboard_is "$marker" || die "xclip cannot set the clipboard"
  textview_tab
  click_in_quillet 200 $((page_y + 150))
  xdotool key ctrl+a ctrl+c
  wait_for 50 clipboard_is_not "$marker" || die "Quillet did not copy Memo1"
  xclip -o -selection clipboard
}

expect_memo() {
  memo_text >"$work/memo.txt"
  printf '%b' "$1" >"$work/expected.txt"
  if ! cmp -s "$work/memo.txt" "$work/expected.txt"; then
    fail "Memo1 differs from what was captured"
    diff <(cat -A "$work/expected.txt") <(cat -A "$work/memo.txt") >&2 || true
  fi
}

window_minimized() { xprop -id "$quillet_id" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN; }
window_not_minimized() { ! window_minimized; }
main_window_visible() { xdotool search --onlyvisible --name '^Quillet ver\. 1\.4\.0\.1$' >/dev/null; }

# A one-page PDF (standard Helvetica, no font files) titled TITLE, with the given lines in
# Windows-1252; run it with LC_ALL=C, so that lengths count bytes. Viewers show the title
# once the file is loaded.
make_pdf() { # FILE TITLE LINE...
  local file=$1 title=$2 text="" y=736 pdf="%PDF-1.4"$'\n' n=0 xref="" line object
  shift 2
  for line in "$@"; do text+="BT /F1 24 Tf 72 $((y -= 36)) Td ($line) Tj ET"$'\n'; done
  for object in "<< /Type /Catalog /Pages 2 0 R >>" "<< /Type /Pages /Kids [3 0 R] /Count 1 >>" \
    "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 5 0 R /Resources << /Font << /F1 4 0 R >> >> >>" \
    "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>" \
    "<< /Length ${#text} >> stream"$'\n'"${text}endstream" "<< /Title ($title) >>"; do
    xref+="$(printf '%010d' ${#pdf}) 00000 n "$'\n'
    pdf+="$((n += 1)) 0 obj $object endobj"$'\n'
  done
  printf '%s' "$pdf" "xref"$'\n'"0 $((n + 1))"$'\n'"0000000000 65535 f "$'\n'"$xref" \
    "trailer << /Size $((n + 1)) /Root 1 0 R /Info $n 0 R >>"$'\n' \
    "startxref"$'\n'"${#pdf}"$'\n'"%%EOF"$'\n' >"$file"
}

# A mouse drag X0 Y0 X1 Y1 as a hand makes it, with pauses and the motion in steps: evince
# selects nothing when press, motion and release come in one burst.
drag() {
  xdotool mousemove "$1" "$2" sleep 0.1 mousedown 1 sleep 0.1
  for step in 1 2 3 4 5 6; do
    xdotool mousemove $(($1 + ($3 - $1) * step / 6)) $(($2 + ($4 - $2) * step / 6)) sleep 0.05
  done
  xdotool sleep 0.1 mouseup 1 sleep 0.2
}

# --- the scenarios -----------------------------------------------------------------------

# The window manager hands the focus to a new window; let that happen before the reader
# takes it back, or it happens in the middle of a scenario.
if [ "$scenario" = key-held-elsewhere ]; then
  box_shows() { [ -n "$(box_id)" ]; }
  wait_for 100 box_shows || die "no box named the key another program holds"
else
  wait_for 50 focus_is "$quillet_id" || true
fi
sleep 0.3
focus_reader
# On a loaded machine the window manager can hand the focus to Quillet late, after the
# reader took it: take it back until it stays.
for _ in 1 2 3; do
  sleep 0.5
  reader_has_focus || focus_reader
done
reader_has_focus || die "the reader lost the focus before the first key"

case "$scenario" in
example-document)
  # F2, then F4 twice with changing selections: the example document of the tag format.
  select_text "Das ist ein Demonstrationstitel"
  capture F2
  select_text "Dieser Text war zuerst da."
  capture F4
  select_text "Dann kam dieser Satz hinzu."
  capture F4
  expect_memo '{TITEL}Das ist ein Demonstrationstitel{/TITEL}\n\n{TEXT}Dieser Text war zuerst da.\n\nDann kam dieser Satz hinzu.{/TEXT}\n\n'
  ;;

boxes-take-and-release-keys)
  # F8 and key 0 belong to the reader until their boxes are checked.
  reaches_reader F8 F8
  reaches_reader 0 0
  controls_tab
  click_box 16 328  # CheckBox10, F8
  click_box 336 208 # CheckBox12, key 0
  click_box 16 232  # CheckBox5, F4 off
  focus_reader
  select_text "achter"
  capture F8
  select_text "ohne Tag"
  capture 0
  reaches_reader F4 F4
  expect_memo '{8}achter{/8}\n\nohne Tag\n\n'
  ;;

lock-modifiers)
  xdotool key Num_Lock
  select_text "mit NumLock"
  capture F2
  xdotool key Caps_Lock
  select_text "mit beiden"
  capture 1
  xdotool key Num_Lock Caps_Lock
  expect_memo '{TITEL}mit NumLock{/TITEL}\n\n{QUELLE}mit beiden{/QUELLE}\n\n'
  ;;

hide-and-show)
  ! window_minimized || fail "the main window starts minimized"
  xdotool key ctrl+y
  wait_for 30 window_minimized || fail "Ctrl+Y did not minimize the main window"
  sleep 0.5
  reader_has_focus || fail "the reader lost the focus when the main window was minimized"
  ! notification_visible || fail "Ctrl+Y showed a notification"
  [ "$(reader_saw Ctrl+Y)" = 0 ] || fail "Ctrl+Y reached the reader"
  xdotool key ctrl+y
  wait_for 30 window_not_minimized \
    || fail "the second Ctrl+Y did not restore the main window"
  wait_for 30 main_window_visible \
    || fail "the restored main window is not visible"
  # Restoring brings the main window to the front, as the user asked for it.
  wait_for 30 focus_is "$quillet_id" \
    || fail "the restored main window is not active"
  ;;

hot-key-storm)
  # Thirty captures pressed faster than Quillet handles them, each copying a new sentence:
  # every one is handled, one at a time, in the order pressed.
  echo "count Satz" >&4
  wait_for 50 lines_at_least counting 1 || die "the reader does not count"
  keys=()
  for _ in $(seq 30); do keys+=(F4); done
  start=$(date +%s%N)
  xdotool key --delay 30 "${keys[@]}"
  pressed=$(( ($(date +%s%N) - start) / 1000000 ))
  copied_all() { grep -q '^copied 30$' "$work/reader.out"; }
  wait_for 300 copied_all || fail "only $(grep -c '^copied' "$work/reader.out") of 30 copies happened"
  sleep 0.6 # the last capture's wait for the clipboard
  handled=$(( ($(date +%s%N) - start) / 1000000 ))
  reader_has_focus || fail "the reader lost the focus during the storm"
  [ "$(reader_saw F4)" = 0 ] || fail "F4 reached the reader during the storm"
  expected='{TEXT}Satz 1'
  for i in $(seq 2 30); do expected+="\n\nSatz $i"; done
  expect_memo "$expected{/TEXT}\n\n"
  echo "storm: 30 keys pressed in ${pressed} ms; all 30 captures done after ${handled} ms" \
       "($(( handled / 30 )) ms each)"
  ;;

save-hot-key)
  # F10 saves the document as the first numbered Windows-1252 file (cleaned, as the box
  # is checked at start) and empties the text view; the next capture starts a new
  # document, and F10 on an empty text view writes nothing.
  select_text "Grüße aus dem Korpus"
  capture F4
  capture F10
  saved=("$work"/PATH/MEDIENNAME_QUELLE*_0.txt)
  if [ -f "${saved[0]}" ]; then
    printf '{TEXT}Gr\xfc\xdfe aus dem Korpus{/TEXT}\r\n\r\n' >"$work/expected-file"
    cmp -s "$work/expected-file" "${saved[0]}" \
      || fail "the saved file holds $(od -c "${saved[0]}" | head -3)"
  else
    fail "F10 saved no file: $(ls "$work/PATH")"
  fi
  select_text "danach"
  capture F4
  expect_memo '{TEXT}danach{/TEXT}\n\n'
  focus_reader
  capture F10
  capture F10
  files=$(find "$work/PATH" -type f -printf '%f\n' | sort | sed 's/.*_//' | tr '\n' ' ')
  [ "$files" = "0.txt 1.txt " ] || fail "after three F10 the save folder holds: $files"
  ;;

german-date)
  # The date as the user's system writes it, dd.mm.yyyy with German settings: as F6 inserts
  # it, and in the name of the file F10 saves. Either day counts should midnight pass.
  first_day=$(date +%d.%m.%Y)
  capture F6
  capture F10
  last_day=$(date +%d.%m.%Y)
  saved=("$work"/PATH/MEDIENNAME_QUELLE*_0.txt)
  dated=""
  for day in "$first_day" "$last_day"; do
    [ "${saved[0]}" = "$work/PATH/MEDIENNAME_QUELLE${day}_0.txt" ] || continue
    printf '{A_DATUM}%s{/A_DATUM}\r\n\r\n' "$day" >"$work/expected-file"
    cmp -s "$work/expected-file" "${saved[0]}" && dated=$day
  done
  [ -n "$dated" ] || fail "not dated $first_day: $(ls "$work/PATH") holds $(od -c "${saved[0]}" 2>&1 | head -3)"
  ;;

slow-copy)
  # The reader takes the clipboard 600 ms after each Ctrl+C, later than the fixed wait of
  # old: each capture waits for its own copy, never taking the text from before.
  printf 'alter Text' | xclip -selection clipboard -i
  echo "delay 600" >&4
  wait_for 50 lines_at_least delaying 1 || die "the reader does not delay its copies"
  select_text "Erst spät kopiert"
  capture F4
  select_text "Auch spät"
  capture F4
  expect_memo '{TEXT}Erst spät kopiert\n\nAuch spät{/TEXT}\n\n'
  ;;

key-held-elsewhere)
  # The box at start names F4, which the reader holds. Open behind the reader it holds no
  # capture back; with the keyboard it takes one, which would copy Quillet's own text.
  select_text "mit offenem Kasten"
  capture F2
  xdotool windowactivate --sync "$(box_id)"
  xdotool key F2
  wait_for 100 notification_visible || fail "no notification after F2 in the box"
  wait_for 40 notification_hidden || fail "the notification stays up"
  xdotool windowactivate --sync "$(box_id)" key Return
  box_gone() { [ -z "$(box_id)" ]; }
  wait_for 30 box_gone || fail "the box did not close"
  focus_reader
  select_text "nach dem Kasten"
  capture F2
  expect_memo '{TITEL}mit offenem Kasten\n\nnach dem Kasten{/TITEL}\n\n'
  ;;

evince-pdf)
  # A real PDF viewer from Debian: the three lines of a generated page selected with the
  # mouse, captured with F4 and saved with F10 (which cleans: lines join with spaces). It
  # offers no address beside the text, so --record-source adds none.
  command -v evince >/dev/null || die "missing evince (tools/install-deps.sh test)"
  (export LC_ALL=C; make_pdf "$work/probe.pdf" "Quillet Probe" "Erste Zeile ohne Bedeutung" \
     "$(printf 'Gr\xfc\xdfe aus dem Korpus')" "Letzte Zeile")
  # A fresh profile: no remembered zoom or window size, no session bus needed.
  (export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data \
     XDG_CACHE_HOME=$work/home/cache GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 GTK_A11Y=none
   exec evince "$work/probe.pdf") >"$work/evince.log" 2>&1 &
  pids+=($!)
  evince_shows() { xdotool search --onlyvisible --name 'Quillet Probe' >/dev/null 2>&1; }
  wait_for 300 evince_shows || die "evince did not show the PDF: $(cat "$work/evince.log")"
  front_id=$(xdotool search --onlyvisible --name 'Quillet Probe' | head -1)
  selected=$(printf 'Erste Zeile ohne Bedeutung\nGrüße aus dem Korpus\nLetzte Zeile')
  primary_is_selection() { [ "$(xclip -o -selection primary 2>/dev/null)" = "$selected" ]; }
  # From inside the page's top left to the window's bottom right, in steps: evince picks the
  # selection up from the pointer's motion. The page may still be loading: try again.
  for _ in 1 2 3 4 5; do
    eval "$(xdotool getwindowgeometry --shell "$front_id")"
    drag $((X + 30)) $((Y + 80)) $((X + WIDTH - 30)) $((Y + HEIGHT - 30))
    primary_is_selection && break
    sleep 1
  done
  primary_is_selection || die "the drag selected: $(xclip -o -selection primary 2>&1)"
  capture F4
  capture F10
  saved=("$work"/PATH/MEDIENNAME_QUELLE*_0.txt)
  printf '{TEXT}Erste Zeile ohne Bedeutung Gr\xfc\xdfe aus dem Korpus Letzte Zeile{/TEXT}\r\n\r\n' \
    >"$work/expected-file"
  cmp -s "$work/expected-file" "${saved[0]}" \
    || fail "the saved file holds $(od -c "${saved[0]}" 2>&1 | head -5)"
  ;;

xterm-highlight)
  # A real terminal in front: the capture keys send it no Ctrl+C, which would end the
  # command it runs; the highlighted line goes in byte for byte, and once per key.
  command -v xterm >/dev/null || die "missing xterm (tools/install-deps.sh test)"
  line='Grüße aus dem Terminal – 5 €'
  printf '%s\n' "$line" >"$work/line.txt"
  # Below the main window, which stays on top.
  (cd "$work" && LC_ALL=C.UTF-8 exec xterm -geometry 60x8+0+880 -T 'Quillet Terminal' \
     -e sh -c 'cat line.txt; echo $$ >command.pid; exec sleep 600') >"$work/xterm.log" 2>&1 &
  pids+=($!)
  xterm_shows() { xdotool search --onlyvisible --name '^Quillet Terminal$' >/dev/null 2>&1; }
  wait_for 100 xterm_shows || die "xterm did not show: $(cat "$work/xterm.log")"
  wait_for 50 test -s "$work/command.pid" || die "the command in xterm did not start"
  front_id=$(xdotool search --onlyvisible --name '^Quillet Terminal$' | head -1)
  xdotool windowactivate --sync "$front_id" >/dev/null 2>&1 || true
  wait_for 50 reader_has_focus || die "xterm did not get the focus"
  primary_is_line() { [ "$(xclip -o -selection primary 2>/dev/null)" = "$line" ]; }
  xdotool mousemove --sync --window "$front_id" 20 8 click --repeat 3 --delay 80 1
  wait_for 30 primary_is_line || die "the triple click highlighted: $(xclip -o -selection primary 2>&1)"
  capture F4
  capture F4
  kill -0 "$(cat "$work/command.pid")" 2>/dev/null || fail "the command in xterm did not survive F4"
  # xterm highlights a line with its line break.
  expect_memo '{TEXT}Grüße aus dem Terminal – 5 €\n{/TEXT}\n\n'
  ;;

chromium-page | firefox-page)
  # A real browser from Debian shows a page from 127.0.0.1 that selects its first sentence
  # itself and its second on the key n. Started with --record-source, Quillet saves the
  # address the browser offers once under QUELLE; started again without, it adds none.
  # Chromium offers the page's address; Firefox ESR 153 only its origin (for file: pages
  # the whole address).
  mkdir "$work/site"
  cat >"$work/site/quelle.html" <<'PAGE'
<!doctype html><html><head><title>Quillet Quelle</title></head><body>
<p id="eins">Erster Satz aus dem Netz.</p><p id="zwei">Zweiter Satz aus dem Netz.</p>
<script>
function pick(id) {
  const range = document.createRange();
  range.selectNodeContents(document.getElementById(id));
  getSelection().removeAllRanges();
  getSelection().addRange(range);
  document.title += " " + id;
}
pick("eins");
addEventListener("keydown", e => { if (e.key === "n") pick("zwei"); });
</script></body></html>
PAGE
  python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/site" >"$work/http.log" 2>&1 &
  pids+=($!)
  serving() { grep -q 'port [0-9]' "$work/http.log"; }
  wait_for 100 serving || die "the page server did not start: $(cat "$work/http.log")"
  origin="http://127.0.0.1:$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$work/http.log" | head -1)"
  url=$origin/quelle.html address=$url
  if [ "$scenario" = chromium-page ]; then
    # As root Chromium runs only without its sandbox.
    chromium --no-sandbox --user-data-dir="$work/browser" --no-first-run --no-default-browser-check \
      --disable-gpu --password-store=basic "$url" >"$work/browser.log" 2>&1 &
  else
    mkdir "$work/browser"
    firefox-esr --no-remote --new-instance --profile "$work/browser" "$url" >"$work/browser.log" 2>&1 &
    address=$origin
  fi
  pids+=($!)
  titled() { xdotool search --onlyvisible --name "Quillet Quelle.* $1" >/dev/null 2>&1; }
  wait_for 600 titled eins || die "the browser did not show the page: $(tail -5 "$work/browser.log")"
  front_id=$(xdotool search --onlyvisible --name 'Quillet Quelle eins' | head -1)
  focus_browser() {
    xdotool windowactivate --sync "$front_id" >/dev/null 2>&1 || true
    wait_for 50 focus_is "$front_id" || die "the browser cannot get the focus"
  }
  focus_browser
  capture F4
  xdotool key n
  wait_for 50 titled zwei || die "the page did not select its second sentence"
  capture F4
  capture F10
  printf '{TEXT}Erster Satz aus dem Netz.\r\n\r\nZweiter Satz aus dem Netz.{/TEXT}\r\n\r\n{QUELLE}%s{/QUELLE}\r\n\r\n' \
    "$address" >"$work/expected-file"
  saved=("$work"/PATH/MEDIENNAME_QUELLE*_0.txt)
  cmp -s "$work/expected-file" "${saved[0]}" \
    || fail "with --record-source the saved file holds $(od -c "${saved[0]}" 2>&1 | head -8)"
  kill "$quillet_pid"
  wait "$quillet_pid" 2>/dev/null || true
  quillet_args=()
  start_quillet
  wait_for 50 focus_is "$quillet_id" || true
  focus_browser
  capture F4
  capture F10
  saved=("$work"/PATH/MEDIENNAME_QUELLE*_1.txt)
  printf '{TEXT}Zweiter Satz aus dem Netz.{/TEXT}\r\n\r\n' >"$work/expected-file"
  cmp -s "$work/expected-file" "${saved[0]}" \
    || fail "without --record-source the saved file holds $(od -c "${saved[0]}" 2>&1 | head -5)"
  ;;

crash-recovery)
  # Killed after two captures, the program offers the text back at its next start, byte
  # for byte, as "Save and New" would have written it.
  select_text "Grüße aus dem Korpus"
  capture F4
  select_text "Zweiter Satz"
  capture F4
  printf '{TEXT}Gr\xfc\xdfe aus dem Korpus\r\n\r\nZweiter Satz{/TEXT}\r\n\r\n' >"$work/expected-file"
  copy_is_expected() { cmp -s "$work/expected-file" "$recovery_copy"; }
  wait_for 30 copy_is_expected || fail "the recovery copy holds $(od -c "$recovery_copy" 2>&1 | head -3)"
  kill -KILL "$quillet_pid"
  wait "$quillet_pid" 2>/dev/null || true
  main_window_gone() { ! main_window_visible; }
  wait_for 50 main_window_gone || die "the killed program's window stays"
  start_quillet
  question=$(timeout 20 xdotool search --sync --onlyvisible --name '^Best.*tigung$' | head -1) \
    || die "no question about the unsaved document at start"
  xdotool windowactivate --sync "$question" >/dev/null 2>&1 || true
  xdotool key Return
  expect_memo '{TEXT}Grüße aus dem Korpus\n\nZweiter Satz{/TEXT}\n\n'
  copy_is_expected || fail "the restored document's copy differs"
  ;;

*)
  die "unknown scenario $scenario"
  ;;
esac

kill -0 "$quillet_pid" 2>/dev/null || fail "Quillet ended during the test"
if [ "$failures" -gt 0 ]; then
  report
  exit 1
fi
echo "ok: $scenario"
