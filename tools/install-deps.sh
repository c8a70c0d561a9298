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
# Wayland desktops: the shortcut portal's interface, the protocols of the selection and of
# the compositors' key input, the keyboard map of a virtual keyboard.
run_pkgs+=(libwayland-dev libxkbcommon-dev xdg-desktop-portal-dev plasma-wayland-protocols)
test_pkgs=(googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth openbox
           xdotool xclip x11-utils libxml2-utils g++-mingw-w64-x86-64 clang-format
           clang-tidy clang libclang-rt-14-dev)
# The end-to-end capture from a real PDF viewer.
test_pkgs+=(evince)
# The Wayland tests: a private session bus and a fake portal (python3-dbus), headless KWin
# with Xwayland and the real portals (KDE's needs the Qt 5 Wayland plugin), headless sway
# with wtype, the reader as a Qt 6 Wayland program.
test_pkgs+=(dbus-daemon libglib2.0-bin python3-dbus python3-gi kwin-wayland xwayland
            xdg-desktop-portal xdg-desktop-portal-kde qtwayland5 sway wtype qt6-wayland)
# The exports read back by real consumers, and the Debian package built and checked.
test_pkgs+=(python3 sqlite3 dpkg-dev file lintian desktop-file-utils appstream)
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
