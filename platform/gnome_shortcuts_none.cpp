#include "platform/gnome_shortcuts.h"

namespace quillet {

// GNOME's shortcuts exist only on Linux desktops, which the x11 backend serves.

bool isGnomeWaylandSession() {
    return false;
}

GnomeShortcutsReport setUpGnomeShortcuts() {
    return {GnomeShortcutsReport::Problem::NotLinux, {}, {}};
}

GnomeShortcutsReport removeGnomeShortcuts() {
    return setUpGnomeShortcuts();
}

} // namespace quillet
