#pragma once

#include <QString>
#include <QStringList>

namespace quillet {

// What the command line asks of this run.
struct CommandLine {
    enum class Action {
        Run,                  // open the window
        ShowHelp,             // print `usage` and end
        ShowVersion,          // print the version and end
        HandOver,             // hand `hotKey` to the program that runs, and end
        SetUpGnomeShortcuts,  // write GNOME's custom shortcuts for the keys, and end
        RemoveGnomeShortcuts, // take exactly those away again, and end
        Mistake,              // an unknown option or a bad argument: say `mistake`, then `usage`
    };
    Action action = Action::Run;
    int hotKey = 0;
    bool recordSource = false; // start with the page's address recorded under QUELLE
    QString mistake;
    QString usage;
};

// Reads the program's arguments, its name first. Qt's own window options (-platform,
// -display, -style ...) are left for the window and accepted here.
CommandLine readCommandLine(const QStringList& arguments);

} // namespace quillet
