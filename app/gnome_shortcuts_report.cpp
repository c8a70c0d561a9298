#include "app/gnome_shortcuts_report.h"

#include "capture/capture_table.h"

#include <QStringList>

#include <array>

namespace quillet {

namespace {

using What = GnomeShortcutChange::What;
using Problem = GnomeShortcutsReport::Problem;

QString keyOf(const GnomeShortcutChange& change, bool german) {
    const std::string_view key = findCaptureRow(change.id)->key;
    QString name = QString::fromLatin1(key.data(), qsizetype(key.size()));
    if (german)
        name.replace(QStringLiteral("Ctrl+"), QStringLiteral("Strg+"));
    return name;
}

// The keys of one kind of change, with the name of the shortcut that is there where known.
QStringList keysThat(const GnomeShortcutsReport& report, What what, bool german) {
    QStringList keys;
    for (const GnomeShortcutChange& change : report.changes) {
        if (change.what != what)
            continue;
        QString key = keyOf(change, german);
        if (!change.other.empty())
            key += (german ? QStringLiteral(" („%1“)") : QStringLiteral(" (\"%1\")"))
                       .arg(QString::fromStdString(change.other));
        keys << key;
    }
    return keys;
}

QString problemText(Problem problem, bool german) {
    switch (problem) {
    case Problem::None:
        break;
    case Problem::NotLinux:
        return german ? QStringLiteral("GNOME gibt es auf diesem System nicht.")
                      : QStringLiteral("there is no GNOME on this system");
    case Problem::NoSchema:
        return german ? QStringLiteral("Die Einstellungen der GNOME-Tastenkürzel sind nicht "
                                       "installiert (Paket gnome-settings-daemon-common).")
                      : QStringLiteral("GNOME's shortcut settings are not installed (package "
                                       "gnome-settings-daemon-common)");
    case Problem::NoStore:
        return german ? QStringLiteral("Es gibt keinen Speicher für Einstellungen (dconf); "
                                       "GNOME sähe die Kürzel nie.")
                      : QStringLiteral("there is no settings store (dconf), so GNOME would "
                                       "never see the shortcuts");
    case Problem::Locked:
        return german ? QStringLiteral("Die eigenen Tastenkürzel sind vom Administrator "
                                       "gesperrt.")
                      : QStringLiteral("the custom shortcuts are locked by the administrator");
    case Problem::ProgramPath:
        return german ? QStringLiteral("Der Pfad dieses Programms ist unbekannt oder nicht in "
                                       "UTF-8, das GNOMEs Einstellungen verlangen.")
                      : QStringLiteral("the path of this program is unknown or not UTF-8, "
                                       "which GNOME's settings need");
    }
    return {};
}

QString command(const GnomeShortcutsReport& report) {
    return QString::fromStdString(report.command);
}

bool removed(const GnomeShortcutsReport& report) {
    return !report.changes.empty() && report.changes.front().what == What::Removed;
}

} // namespace

QString shortcutsReportForTerminal(const GnomeShortcutsReport& report) {
    if (report.problem != Problem::None)
        return QStringLiteral("quillet: nothing done: %1.\n")
            .arg(problemText(report.problem, false));
    if (report.changes.empty())
        return QStringLiteral("Quillet has no GNOME shortcuts to remove.\n");
    if (removed(report))
        return QStringLiteral("Removed Quillet's GNOME shortcuts for: %1.\n")
            .arg(keysThat(report, What::Removed, false).join(QStringLiteral(", ")));
    const std::array<std::pair<What, const char*>, 3> kinds{{
        {What::Added, "Added (command %1)"},
        {What::Kept, "Already there, left as they are"},
        {What::Occupied, "Not added, the key belongs to another shortcut"},
    }};
    QString text;
    for (const auto& [what, heading] : kinds) {
        const QStringList keys = keysThat(report, what, false);
        if (!keys.isEmpty())
            text += QString::fromLatin1(heading).replace(QStringLiteral("%1"), command(report)) +
                    QStringLiteral(": ") + keys.join(QStringLiteral(", ")) + QLatin1Char('\n');
    }
    return text + QStringLiteral("GNOME now gives these keys to Quillet in every program, also "
                                 "while Quillet is not running; quillet "
                                 "--remove-gnome-shortcuts takes them away again.\n");
}

QString shortcutsReportForBox(const GnomeShortcutsReport& report) {
    if (report.problem != Problem::None)
        return QStringLiteral("Es wurden keine Tastenkürzel angelegt. ") +
               problemText(report.problem, true);
    const std::array<std::pair<What, QString>, 3> kinds{{
        {What::Added, QStringLiteral("Angelegt (Befehl %1)")},
        {What::Kept, QStringLiteral("Schon vorhanden, unverändert")},
        {What::Occupied, QStringLiteral("Nicht angelegt, die Taste gehört einem anderen Kürzel")},
    }};
    QString text = QStringLiteral("Eigene Tastenkürzel in GNOME (Einstellungen, Tastatur):\n");
    for (const auto& [what, heading] : kinds) {
        const QStringList keys = keysThat(report, what, true);
        if (!keys.isEmpty())
            text += QLatin1Char('\n') +
                    QString(heading).replace(QStringLiteral("%1"), command(report)) +
                    QStringLiteral(": ") + keys.join(QStringLiteral(", ")) + QLatin1Char('.');
    }
    return text + QStringLiteral("\n\nGNOME gibt diese Tasten nun in jedem Programm an Quillet, "
                                 "auch wenn Quillet nicht läuft. „quillet "
                                 "--remove-gnome-shortcuts“ nimmt sie wieder weg.");
}

} // namespace quillet
