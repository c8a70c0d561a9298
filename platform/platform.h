#pragma once

#include "capture/capture_services.h"

#include <QString>

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

    // What the user must know about this desktop: which part of capturing cannot work and
    // what to do instead. A backend that learns it late (a portal answers after the start)
    // calls the handler then, from the event loop; each call replaces what was said before,
    // and an empty text takes it back (the keys turned out to work). Backends where all
    // works never call it with a text.
    using NoticeHandler = std::function<void(const QString& text)>;
    virtual void setNoticeHandler(NoticeHandler) {}
};

// The backend of this platform; on Linux the session decides between X11 and Wayland.
std::unique_ptr<PlatformBackend> createPlatformBackend(QWidget& mainWindow);

// The backend of a display without system-wide hot keys (the offscreen platform, an X11
// display that cannot be reached): no hot keys, no keystroke synthesis, the clipboard
// through Qt.
// Built everywhere, so that a backend can fall back to it at run time.
std::unique_ptr<PlatformBackend> makeNoneBackend(QWidget& mainWindow);

// What became of a hot key handed to the program that already runs (`quillet --hotkey N`).
enum class HandOff {
    Taken,      // it runs the key's capture
    KeyOff,     // the key is switched off there
    NoInstance, // no program runs for this user; nothing was started
    NoAnswer,   // one runs but did not answer in time
    NotHere,    // this platform has no way to reach it
};
HandOff handHotKeyToRunningInstance(int id);

} // namespace quillet
