#pragma once

#include "capture/capture_services.h"

namespace quillet {

// The text of the system clipboard (on X11 the CLIPBOARD selection, not the primary one)
// as document bytes, with the address of the page it came from where the owner offers it.
// Needs a QGuiApplication.
ClipboardText readQtClipboardText();

} // namespace quillet
