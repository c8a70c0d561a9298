#include "platform/linux_backends.h"

#include <QtGlobal>

namespace quillet {

bool isWaylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

// The windows may run on XWayland in a Wayland session, but X11's key grabs, XTest and
// clipboard do not reach the Wayland programs there: the session decides, not Qt.
std::unique_ptr<PlatformBackend> createPlatformBackend(QWidget& mainWindow) {
    if (isWaylandSession())
        return makeWaylandBackend(mainWindow);
    return makeX11Backend(mainWindow);
}

} // namespace quillet
