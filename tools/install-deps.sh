#!/usr/bin/env bash
# Installs the Debian packages that building, running or testing Quillet needs,
# and nothing when they are all there already.
set -euo pipefail

run_pkgs=(cmake ninja-build g++ make qt6-base-dev qt6-qpa-plugins libgl-dev
          libx11-dev libx11-xcb-dev libxtst-dev libxfixes-dev libxcb1-dev libxcb-keysyms1-dev)
# Draws the program's SVG icon.
run_pkgs+=(libqt6svg6)
# The database export.
run_pkgs+=(libsqlite3-dev)
# Wayland desktops: the shortcut portal's interface, the protocols of the selection, of
# windows and of the compositors' key input, the keyboard map of a virtual keyboard.
run_pkgs+=(libwayland-dev libxkbcommon-dev wayland-protocols xdg-desktop-portal-dev
           plasma-wayland-protocols)
# GNOME's custom shortcuts, written through GIO's settings.
run_pkgs+=(libglib2.0-dev)
# quillet-batch's manual page, made from its --help.
run_pkgs+=(help2man)
test_pkgs=(googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth openbox
           xdotool xclip x11-utils libxml2-utils g++-mingw-w64-x86-64 clang-format
           clang-tidy clang libclang-rt-14-dev)
# The end-to-end captures from a real PDF viewer and real browsers (with the page's address).
test_pkgs+=(evince chromium firefox-esr)
# The Wayland tests: a private session bus and a fake portal (python3-dbus), headless KWin
# with Xwayland and the real portals (KDE's needs the Qt 5 Wayland plugin), headless sway
# with wtype, the reader as a Qt 6 Wayland program.
test_pkgs+=(dbus-daemon libglib2.0-bin python3-dbus python3-gi kwin-wayland xwayland
            xdg-desktop-portal xdg-desktop-portal-kde qtwayland5 sway wtype qt6-wayland)
# Real terminals, which must get no Ctrl+C: xterm under Xvfb and KWin's Xwayland, foot in
# sway (wl-clipboard shows what it highlighted).
test_pkgs+=(xterm foot wl-clipboard)
# GNOME: headless mutter and GNOME Shell (logind faked by python3-dbusmock) with a GTK 3
# reader on Wayland (python3-gi), the media-keys service that runs custom shortcuts, GNOME's
# shortcut settings and their store (dconf) on a private bus.
test_pkgs+=(mutter gnome-shell gnome-settings-daemon python3-dbusmock gir1.2-gtk-3.0
            gnome-settings-daemon-common dconf-service dconf-gsettings-backend dconf-cli)
# The Windows build's tests: its programs run under Wine (64-bit only), the capture path
# with Wine's own Notepad.
test_pkgs+=(wine wine64)
# The exports read back by real consumers, and the Debian package built and checked.
test_pkgs+=(python3 sqlite3 dpkg-dev file lintian desktop-file-utils appstream man-db)
# The date tests build their own locales (German, French, ...) from these sources.
test_pkgs+=(locales)

case "${1:-run}" in
  run) wanted=("${run_pkgs[@]}") ;;
  test) wanted=("${run_pkgs[@]}" "${test_pkgs[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
