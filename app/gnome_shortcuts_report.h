#pragma once

#include "platform/gnome_shortcuts.h"

#include <QString>

namespace quillet {

// What setting up or removing GNOME's shortcuts did: in English for the terminal, as the
// command line speaks, and in German for the box of the "Controls" page.
QString shortcutsReportForTerminal(const GnomeShortcutsReport& report);
QString shortcutsReportForBox(const GnomeShortcutsReport& report);

} // namespace quillet
