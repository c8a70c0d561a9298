#pragma once

#include <string>
#include <vector>

namespace quillet {

// GNOME's custom keyboard shortcuts for the sixteen hot keys, each running
// `quillet --hotkey N`: how the keys reach Quillet on GNOME versions whose desktop portal
// offers no global shortcuts. Written through GSettings (dconf on a desktop); the user's own
// shortcuts are left as they are.

struct GnomeShortcutChange {
    enum class What {
        Added,    // written now
        Kept,     // a shortcut running this key's command was there already, left as it is
        Occupied, // another shortcut has the key, so none was written
        Removed,  // one written by Quillet, taken away
    };
    int id = 0; // the hot key
    What what = What::Added;
    std::string binding; // the key in GNOME's form: "F2", "1", "<Control>y"
    std::string other;   // Kept, Occupied: the name of the shortcut that is there
};

struct GnomeShortcutsReport {
    // Why nothing was done.
    enum class Problem {
        None,
        NotLinux,    // no GNOME on this system
        NoSchema,    // GNOME's shortcut settings are not installed
        NoStore,     // no settings store (dconf): nothing written would last
        Locked,      // the administrator locked the custom shortcuts
        ProgramPath, // this program's path is unknown, or not UTF-8 (GNOME keeps UTF-8)
    };
    Problem problem = Problem::None;
    std::string command; // Added: the command, with N for the key's number
    std::vector<GnomeShortcutChange> changes;
};

// A GNOME desktop in a Wayland session, where keys reach Quillet through the portal or
// through these shortcuts (in "GNOME on Xorg" Quillet grabs its keys itself).
bool isGnomeWaylandSession();

// Adds a shortcut for each hot key that no shortcut runs yet and whose key is free, running
// this very program (its absolute path).
GnomeShortcutsReport setUpGnomeShortcuts();
// Takes away exactly the shortcuts that setUpGnomeShortcuts() added.
GnomeShortcutsReport removeGnomeShortcuts();

} // namespace quillet
