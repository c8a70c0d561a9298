#include "app/document_recovery.h"
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

// `quillet --hotkey N`: hands hot key N to the running program and ends; starts nothing.
int handHotKeyOver(int argc, char** argv) {
    const auto id = argc == 3 ? quillet::hotKeyIdFromArgument(argv[2]) : std::nullopt;
    if (!id) {
        std::fputs("usage: quillet [--hotkey N]\n"
                   "  N: 1 to 10 for F1 to F10 (or the key name, such as F2), 11, 13, 12, 14\n"
                   "  and 16 for the keys 0, 1, 2, 3 and 4, 15 (or Ctrl+Y) for Ctrl+Y\n",
                   stderr);
        return ExitUsage;
    }
    // The session bus needs an application object, not a display.
    const QCoreApplication app(argc, argv);
    const char* problem = nullptr;
    switch (quillet::handHotKeyToRunningInstance(*id)) {
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
    const std::string_view key = quillet::findCaptureRow(*id)->key;
    std::fprintf(stderr, "quillet: hot key %d (%.*s) not handed over: %s\n", *id,
                 static_cast<int>(key.size()), key.data(), problem);
    return ExitFailure;
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
    if (argc > 1 && std::strcmp(argv[1], "--hotkey") == 0)
        return handHotKeyOver(argc, argv);
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
    window.show();
    QTimer::singleShot(0, &window, [&window] {
        window.startRecovery();
        window.tellAboutHotKeys();
    });
    return app.exec();
}
