#include "app/graphical_session.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quillet {

namespace {

constexpr int ExitNoSession = 1;

QtMessageHandler qtHandler = nullptr;

[[noreturn]] void endWithoutSession(const char* why) {
    std::fprintf(stderr,
                 "quillet: Quillet needs a graphical session (X11 or Wayland): %s.\n"
                 "quillet-batch works without one.\n",
                 why);
    std::fflush(stderr);
    std::_Exit(ExitNoSession);
}

// Qt ends with a fatal message and an abort when no platform plugin could start, as when
// a display is named that cannot be reached. Any later fatal message stays Qt's.
void onQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && QGuiApplication::platformName().isEmpty())
        endWithoutSession("the window system cannot be reached");
    qtHandler(type, context, message);
}

bool platformChosen(int argc, char** argv) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    return false;
}

} // namespace

void requireGraphicalSession(int argc, char** argv) {
#if defined(Q_OS_LINUX)
    if (!platformChosen(argc, argv) && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        endWithoutSession("neither DISPLAY nor WAYLAND_DISPLAY is set");
#else
    (void)argc;
    (void)argv;
    (void)platformChosen;
#endif
    qtHandler = qInstallMessageHandler(onQtMessage);
}

} // namespace quillet
