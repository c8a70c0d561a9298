#include "app/command_line.h"
#include "app/controls_page.h"
#include "app/document_recovery.h"
#include "app/gnome_shortcuts_report.h"
#include "app/graphical_session.h"
#include "app/look.h"
#include "app/main_window.h"
#include "capture/capture_table.h"
#include "platform/qt_text.h"
#include "quillet_version.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

QStringList argumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// `quillet --hotkey N`: hands hot key N to the running program and ends; starts nothing.
int handHotKeyOver(int argc, char** argv, int id) {
    // The session bus needs an application object, not a display.
    const QCoreApplication app(argc, argv);
    const char* problem = nullptr;
    switch (quillet::handHotKeyToRunningInstance(id)) {
    case quillet::HandOff::Taken:
        return 0;
    case quillet::HandOff::KeyOff:
        problem = "its box is not checked in Quillet";
        break;
    case quillet::HandOff::NoInstance:
        problem = "Quillet is not running (nothing was started)";
        break;
    case quillet::HandOff::NoAnswer:
        problem = "Quillet did not answer";
        break;
    case quillet::HandOff::NotHere:
        problem = "this system delivers hot keys to Quillet itself";
        break;
    }
    const std::string_view key = quillet::findCaptureRow(id)->key;
    std::fprintf(stderr, "quillet: hot key %d (%.*s) not handed over: %s\n", id,
                 static_cast<int>(key.size()), key.data(), problem);
    return ExitFailure;
}

// `quillet --setup-gnome-shortcuts` and `--remove-gnome-shortcuts`: no window, no display.
int changeGnomeShortcuts(quillet::CommandLine::Action action) {
    const quillet::GnomeShortcutsReport report =
        action == quillet::CommandLine::Action::SetUpGnomeShortcuts
            ? quillet::setUpGnomeShortcuts()
            : quillet::removeGnomeShortcuts();
    const bool done = report.problem == quillet::GnomeShortcutsReport::Problem::None;
    print(done ? stdout : stderr, quillet::shortcutsReportForTerminal(report));
    return done ? 0 : ExitFailure;
}

// The hot keys need X11: in a session that offers both, Qt would otherwise pick Wayland.
void preferXcb(int argc, char** argv) {
#if defined(Q_OS_LINUX)
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-platform", "--platform"})
            if (std::strcmp(argv[i], option) == 0)
                return;
    qputenv("QT_QPA_PLATFORM", "xcb");
#else
    (void)argc;
    (void)argv;
#endif
}

} // namespace

int main(int argc, char** argv) {
    // The options are read before any window exists: help, the version, a handed-over key
    // and a mistake never need a display.
    const quillet::CommandLine line = quillet::readCommandLine(argumentList(argc, argv));
    switch (line.action) {
    case quillet::CommandLine::Action::ShowHelp:
        print(stdout, line.usage);
        return 0;
    case quillet::CommandLine::Action::ShowVersion:
        std::printf("quillet %.*s\n", static_cast<int>(quillet::Version.size()),
                    quillet::Version.data());
        return 0;
    case quillet::CommandLine::Action::Mistake:
        print(stderr, QStringLiteral("quillet: %1\n\n").arg(line.mistake) + line.usage);
        return ExitUsage;
    case quillet::CommandLine::Action::HandOver:
        return handHotKeyOver(argc, argv, line.hotKey);
    case quillet::CommandLine::Action::SetUpGnomeShortcuts:
    case quillet::CommandLine::Action::RemoveGnomeShortcuts:
        return changeGnomeShortcuts(line.action);
    case quillet::CommandLine::Action::Run:
        break;
    }
    quillet::requireGraphicalSession(argc, argv);
    preferXcb(argc, argv);
    QApplication app(argc, argv);
    // The title names the program on the task bar and heads the general error box. It is
    // not set as the display name, which Qt would append to every window title.
    QApplication::setApplicationName(quillet::toDisplayText(quillet::ApplicationTitle));
    QApplication::setApplicationVersion(quillet::toDisplayText(quillet::Version));
    QGuiApplication::setDesktopFileName(quillet::toDisplayText(quillet::AppId));
    QApplication::setFont(quillet::windowFont());

    quillet::MainWindow::Environment environment{quillet::createPlatformBackend};
    environment.recoveryFolder = quillet::DocumentRecovery::standardFolder();
    quillet::MainWindow window(std::move(environment));
    window.controlsPage().setRecordSourceAddress(line.recordSource);
    window.show();
    QTimer::singleShot(0, &window, [&window] {
        window.startRecovery();
        window.tellAboutHotKeys();
    });
    return app.exec();
}
