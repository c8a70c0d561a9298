#pragma once

#include "capture/capture_services.h"

#include <functional>
#include <memory>

class QWidget;

namespace quillet {

// The system-wide side of capturing on one platform: hot keys delivered to the main
// window, the synthesized copy keystroke and the text clipboard.
class PlatformBackend : public HotKeyService, public CopyKeystroke, public Clipboard {
public:
    using HotKeyHandler = std::function<void(int id)>;

    // False where the display offers no system-wide hot keys; the program then tells the
    // user once.
    virtual bool hasSystemHotKeys() const = 0;

    // Called with the identifier of every registered hot key that is pressed.
    virtual void setHotKeyHandler(HotKeyHandler handler) = 0;

    // True while one of this program's windows has the keyboard focus: a copy keystroke
    // would go to the program itself.
    virtual bool isOwnWindowInFront() const = 0;
};

// Each platform's backend file defines this; CMake builds exactly one of them.
std::unique_ptr<PlatformBackend> createPlatformBackend(QWidget& mainWindow);

// The backend of a display without system-wide hot keys (Wayland without XWayland, the
// offscreen platform): no hot keys, no keystroke synthesis, the clipboard through Qt.
// Built everywhere, so that a backend can fall back to it at run time.
std::unique_ptr<PlatformBackend> makeNoneBackend(QWidget& mainWindow);

} // namespace quillet
