#include "app/command_line.h"

#include "capture/capture_table.h"

#include <QCommandLineParser>

namespace quillet {

namespace {

// The options QGuiApplication and QApplication take themselves, with and without a value.
const char* const QtOptionsWithValue[] = {
    "platform",
    "platformpluginpath",
    "platformtheme",
    "plugin",
    "qwindowgeometry",
    "qwindowicon",
    "qwindowtitle",
    "display",
    "geometry",
    "style",
    "stylesheet",
    "session",
    "name",
    "title",
};
const char* const QtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

const char* const Description =
    "Quillet collects text corpora. While you read in another program, system-wide hot keys\n"
    "copy the selected text into Quillet's document, wrapped in tags such as {TITEL} or\n"
    "{TEXT}; F10 saves the document as a numbered Windows-1252 text file.";

const char* const ExitStatuses = "\nExit status:\n"
                                 "  0  the window was closed, the hot key was handed over, or the\n"
                                 "     GNOME shortcuts were set up or removed\n"
                                 "  1  the hot key was not handed over, the GNOME shortcuts could\n"
                                 "     not be written, or no graphical session\n"
                                 "  2  a mistake on the command line\n";

// Qt's help begins "Usage: <name> [options]" with the name taken from the application
// object, which does not exist yet: the program's own name stands there instead.
QString usageOf(const QCommandLineParser& parser) {
    const QString help = parser.helpText();
    return QStringLiteral("Usage: quillet [options]") + help.mid(help.indexOf(u'\n')) +
           QString::fromUtf8(ExitStatuses);
}

} // namespace

CommandLine readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's own options are single-dash words (-platform xcb), so are these.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QString::fromUtf8(Description));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption hotKey(
        QStringLiteral("hotkey"),
        QStringLiteral("Hand hot key N to the Quillet that runs, and exit; starts nothing. "
                       "For desktops that run a command on a key (sway, GNOME). N is 1 to 10 "
                       "for F1 to F10 (or the key's name, such as F2); 11, 13, 12, 14 and 16 "
                       "for the keys 0, 1, 2, 3 and 4; 15 (or Ctrl+Y) for Ctrl+Y."),
        QStringLiteral("N"));
    const QCommandLineOption recordSource(
        QStringLiteral("record-source"),
        QStringLiteral("Start with \"Record source address (Quelle)\" checked: a capture of "
                       "text from a web page also puts the page's address under QUELLE."));
    const QCommandLineOption setUp(
        QStringLiteral("setup-gnome-shortcuts"),
        QStringLiteral("Add GNOME custom shortcuts that run this program with --hotkey N for "
                       "each of the sixteen keys (for GNOME without a shortcut portal), keeping "
                       "every shortcut that is there; say what was done, and exit."));
    const QCommandLineOption remove(
        QStringLiteral("remove-gnome-shortcuts"),
        QStringLiteral("Take away the GNOME custom shortcuts that --setup-gnome-shortcuts "
                       "added, and no other; say which, and exit."));
    parser.addOptions({help, version, hotKey, recordSource, setUp, remove});
    for (const char* name : QtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : QtFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    CommandLine line;
    line.usage = usageOf(parser);
    const auto mistake = [&line](QString what) {
        line.action = CommandLine::Action::Mistake;
        line.mistake = std::move(what);
        return line;
    };
    if (!parser.parse(arguments))
        return mistake(parser.errorText());
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::ShowHelp;
        return line;
    }
    if (parser.isSet(version)) {
        line.action = CommandLine::Action::ShowVersion;
        return line;
    }
    if (!parser.positionalArguments().isEmpty())
        return mistake(
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    line.recordSource = parser.isSet(recordSource);
    const int actions =
        int(parser.isSet(hotKey)) + int(parser.isSet(setUp)) + int(parser.isSet(remove));
    if (actions > 1)
        return mistake(QStringLiteral("Give only one of --hotkey, --setup-gnome-shortcuts and "
                                      "--remove-gnome-shortcuts."));
    if (parser.isSet(setUp))
        line.action = CommandLine::Action::SetUpGnomeShortcuts;
    if (parser.isSet(remove))
        line.action = CommandLine::Action::RemoveGnomeShortcuts;
    if (parser.isSet(hotKey)) {
        const QString key = parser.value(hotKey);
        const auto id = hotKeyIdFromArgument(key.toStdString());
        if (!id)
            return mistake(QStringLiteral("Unknown hot key '%1'.").arg(key));
        line.action = CommandLine::Action::HandOver;
        line.hotKey = *id;
    }
    return line;
}

} // namespace quillet
