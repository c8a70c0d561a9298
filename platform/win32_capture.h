#pragma once

// The Win32 steps of a capture, without Qt: the program's backend is made of them, and
// a test program runs them under Wine against a real Notepad.

#include "capture/capture_services.h"

#include <windows.h>

#include <cstdint>
#include <functional>

namespace quillet {

// Registers a system-wide hot key for `window` (nullptr: the calling thread's queue) and
// tells why it failed: the keyboard layout has no such key, another program holds it, or
// the system refused it otherwise.
HotKeyResult registerSystemHotKey(HWND window, int id, unsigned modifiers, unsigned virtualKey);
bool unregisterSystemHotKey(HWND window, int id);

// Ctrl pressed, C pressed, C released, Ctrl released, in one piece of input that no key
// of the user's can get between. False when the system took not all four.
bool sendCopyKeys();

// Lets `ms` pass; meanwhile the thread answers what other threads and programs send to
// its windows (a request to render the clipboard's text).
void passTimeAnsweringMessages(int ms);
using TimePasser = std::function<void(int ms)>;

// The clipboard's count of changes; every program's copy moves it on.
std::uint32_t clipboardSequence();
// True as soon as the count moved on from `mark`; false when it did not within
// `timeoutMs`. It looks every few milliseconds and lets the time between go by `pass`.
bool waitForClipboardChange(std::uint32_t mark, int timeoutMs,
                            const TimePasser& pass = passTimeAnsweringMessages);

// The longest a clipboard read may take: an owner that keeps the clipboard open, or does
// not hand its text over, gives CannotOpen by then.
inline constexpr int ClipboardReadBoundMs = 1000;

// Tests for text without opening the clipboard, then opens it, reads CF_UNICODETEXT and
// closes it again; the text as document bytes (Windows-1252 by our own table, CR LF), and
// the page's address from the "HTML Format" that browsers put beside it.
ClipboardText readClipboardText(int boundMs = ClipboardReadBoundMs);

// Whether the window that has the keyboard belongs to this process.
bool isOwnProcessInFront();

// How a capture copies from the window in front. A console window gets no key: Ctrl+C
// there copies only what the user selected first, and otherwise interrupts the running
// program. A capture in a console takes a copy the user made by hand instead (HandCopies).
CopyWay copyWayInFront();

// The copies made by hand, taken as the highlighted text of a console: each change of the
// clipboard is a new one, once per key, but what it held before this was made counts as
// none (it may be anything, from any time).
class HandCopies {
public:
    // The clipboard's count, or 0 while it has not moved since this was made.
    Clipboard::ChangeMark mark() const;

private:
    std::uint32_t startSequence_ = clipboardSequence();
};

} // namespace quillet
