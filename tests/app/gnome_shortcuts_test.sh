#!/usr/bin/env bash
# `quillet --setup-gnome-shortcuts` and `--remove-gnome-shortcuts` against GNOME's real
# settings store (dconf, started on a private session bus with a private home): the user's
# own shortcuts survive both, a key that a shortcut already hands to Quillet or that another
# shortcut has is left alone, and removing leaves the store as it was.
# usage: gnome_shortcuts_test.sh QUILLET
set -u
quillet=$(readlink -f "$1")
. "$(dirname "$0")/../support/check.sh"

if [ "${2:-}" != --inside ]; then
  s=$(mktemp -d)
  trap 'rm -rf "$s"' EXIT
  mkdir -p "$s/home/.config" "$s/run"
  chmod 700 "$s/run"
  # Set before the bus starts: the settings store it starts writes where these point.
  HOME=$s/home XDG_CONFIG_HOME=$s/home/.config XDG_RUNTIME_DIR=$s/run GSETTINGS_BACKEND=dconf \
    dbus-run-session -- "$0" "$quillet" --inside 2>&1 | grep -v -e dbus-daemon -e 'fd limit'
  exit "${PIPESTATUS[0]}"
fi

list=org.gnome.settings-daemon.plugins.media-keys
entry=$list.custom-keybinding
folder=/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings
out=$(mktemp) before=$(mktemp) after=$(mktemp)
trap 'rm -f "$out" "$before" "$after"' EXIT
user() { # PATH NAME COMMAND BINDING
  gsettings set "$entry:$folder/$1/" name "$2"
  gsettings set "$entry:$folder/$1/" command "$3"
  gsettings set "$entry:$folder/$1/" binding "$4"
}
# The user's own: one on F4, one that hands F2 to Quillet already (under another key), one on
# Ctrl+Y written as GNOME's Settings may write it, and a path that is none.
user custom0 "Terminal" "gnome-terminal" "F4"
user custom1 "Mein Titel" "quillet --hotkey F2" "<Super>t"
user custom2 "Notizen" "gnome-text-editor" "<Primary>Y"
gsettings set "$list" custom-keybindings \
  "['$folder/custom0/', '$folder/custom1/', 'kein Pfad', '$folder/custom2/']"
dump() { dconf dump /org/gnome/settings-daemon/plugins/media-keys/; }
dump >"$before"
grep -q "Notizen" "$before" && ok || fail "the settings store did not take the user's shortcuts"
said() { grep -qF -- "$1" "$out" && ok || fail "$2 did not say '$1': $(cat "$out")"; }
value() { gsettings get "$entry:$folder/quillet-hotkey-$1/" "$2"; }

"$quillet" --setup-gnome-shortcuts >"$out" 2>&1 && ok || fail "set-up failed: $(cat "$out")"
said "Added (command $quillet --hotkey N): F1, F3, F5, F6, F7, F8, F9, F10, 0, 2, 1, 3, 4" set-up
said 'Already there, left as they are: F2 ("Mein Titel")' set-up
said 'Not added, the key belongs to another shortcut: F4 ("Terminal"), Ctrl+Y ("Notizen")' set-up
[ "$(value 13 binding)" = "'1'" ] && ok || fail "key 1 is bound as $(value 13 binding)"
[ "$(value 10 command)" = "'$quillet --hotkey 10'" ] && ok || fail "F10 runs $(value 10 command)"
[ "$(value 1 name)" = "'Quillet: Obertitel übernehmen (F1)'" ] && ok || fail "F1 is $(value 1 name)"
paths=$(gsettings get "$list" custom-keybindings)
[ "$(grep -o quillet-hotkey <<<"$paths" | wc -l)" = 13 ] && ok || fail "the list holds $paths"
grep -qF "['$folder/custom0/', '$folder/custom1/', 'kein Pfad', '$folder/custom2/', " \
  <<<"$paths" && ok || fail "the user's part of the list changed: $paths"
# Everything but Quillet's own sections and the list is as the user left it.
users() { awk '/^\[/ { ours = /quillet-hotkey-/ } !ours && !/^(custom-keybindings=.*)?$/' "$@"; }
diff <(users "$before") <(dump | users) && ok || fail "the user's shortcuts changed"

# Again: everything is there already, nothing is added or changed.
dump >"$after"
"$quillet" --setup-gnome-shortcuts >"$out" 2>&1 && ok || fail "a second set-up failed"
grep -q "^Added" "$out" && fail "a second set-up added: $(cat "$out")" || ok
dump | cmp -s - "$after" && ok || fail "a second set-up changed the store"

"$quillet" --remove-gnome-shortcuts >"$out" 2>&1 && ok || fail "removing failed: $(cat "$out")"
said "Removed Quillet's GNOME shortcuts for: F1, F3, F5, F6, F7, F8, F9, F10, 0, 2, 1, 3, 4." removing
dump >"$after"
cmp -s "$before" "$after" && ok || fail "removing did not restore the store: $(diff "$before" "$after")"
"$quillet" --remove-gnome-shortcuts >"$out" 2>&1 && ok || fail "removing again failed"
said "Quillet has no GNOME shortcuts to remove." "removing again"

# Without GNOME's settings schema nothing is written, and the command says so.
XDG_DATA_DIRS=/nonexistent "$quillet" --setup-gnome-shortcuts >"$out" 2>&1 \
  && fail "set-up without the schema succeeded" || ok
said "gnome-settings-daemon-common" "set-up without the schema"
dump | cmp -s - "$before" && ok || fail "set-up without the schema changed the store"
finish
