#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the program, the batch tool, the
# desktop entry and the icon land where desktops look for them.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/quillet bin/quillet-batch; do
  [ -x "$prefix/$f" ] || { echo "missing executable $f" >&2; exit 1; }
done
desktop=$prefix/share/applications/org.quillet.Quillet.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/org.quillet.Quillet.svg
# KWin grants the Wayland fake input to the executable that Exec names by its full path.
grep -qx "Exec=$prefix/bin/quillet" "$desktop" || { echo "desktop entry does not start quillet" >&2; exit 1; }
grep -qx 'X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input' "$desktop" \
  || { echo "desktop entry does not ask KWin for fake input" >&2; exit 1; }
grep -qx 'Icon=org.quillet.Quillet' "$desktop" || { echo "desktop entry names no icon" >&2; exit 1; }
grep -qx 'Type=Application' "$desktop" || { echo "desktop entry has no type" >&2; exit 1; }
xmllint --noout "$icon"
echo "installed: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"
