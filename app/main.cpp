#include "app/look.h"
#include "app/main_window.h"
#include "quillet_version.h"
#include "text/display_text.h"

#include <QApplication>
#include <QTimer>

#include <cstring>

namespace {

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
    preferXcb(argc, argv);
    QApplication app(argc, argv);
    // The title names the program on the task bar and heads the general error box. It is
    // not set as the display name, which Qt would append to every window title.
    QApplication::setApplicationName(quillet::toDisplayText(quillet::ApplicationTitle));
    QApplication::setApplicationVersion(quillet::toDisplayText(quillet::Version));
    QGuiApplication::setDesktopFileName(quillet::toDisplayText(quillet::AppId));
    QApplication::setFont(quillet::windowFont());

    quillet::MainWindow window({quillet::createPlatformBackend});
    window.show();
    QTimer::singleShot(0, &window, [&window] { window.tellAboutHotKeys(); });
    return app.exec();
}
