#pragma once

#include "platform/platform.h"

namespace quillet {

// The two backends of Linux desktops; the session picks one at start.

// Hot keys by key grabs, the copy keystroke by XTest, the clipboard through Qt. The none
// backend where Qt does not run on X11.
std::unique_ptr<PlatformBackend> makeX11Backend(QWidget& mainWindow);

// Hot keys through the GlobalShortcuts portal or compositor bindings (`quillet --hotkey`),
// the selection through data-control, the copy keystroke through the compositor.
std::unique_ptr<PlatformBackend> makeWaylandBackend(QWidget& mainWindow);

// A Wayland session: WAYLAND_DISPLAY is set, or the login manager says so.
bool isWaylandSession();

} // namespace quillet
