#include "app/look.h"
#include "app/main_window.h"
#include "app/notification_window.h"

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
    QApplication::setApplicationName(QStringLiteral("Quillet d1401 (2009)"));
    QApplication::setApplicationVersion(QStringLiteral("1.4.0.1"));
    QGuiApplication::setDesktopFileName(QStringLiteral("quillet"));
    QApplication::setFont(quillet::windowFont());

    quillet::TForm1 form1({quillet::createPlatformBackend});
    quillet::TForm2 form2;
    form1.setNotificationWindow(&form2);
    form1.show();
    QTimer::singleShot(0, &form1, [&form1] { form1.tellIfNoSystemHotKeys(); });
    const int result = app.exec();
    // The notification window goes first; nothing may reach it from the main window's end.
    form1.setNotificationWindow(nullptr);
    return result;
}
