#pragma once

#include "capture/tagged_insertion.h"
#include "services/services.h"
#include "text/text_view.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// What the capture logic needs of the world around it. The program implements these
// with its controls and the platform backend; tests give fakes.

// Clipboard text as the document holds it: Windows-1252, CR LF line breaks.
struct ClipboardText {
    enum class Status { Text, NoText, CannotOpen };
    Status status = Status::NoText;
    std::string text;
    // The address of the page the text came from, as the program that offered the text
    // gave it (UTF-8); empty when it gave none.
    std::string sourceAddress{};
};

// The system clipboard as a capture uses it: note its state, fake the copy, wait for the
// copy to land, read. Every platform backend implements this; it is all the capture needs.
class Clipboard {
public:
    // The clipboard's state at one moment, only to be handed back to waitForChange. Each
    // backend counts changes its own way (owner changes, a sequence number, selection
    // offers); nothing else may be read into the value.
    using ChangeMark = std::uint64_t;

    virtual ~Clipboard() = default;
    // The state now; taken before the copy keystroke, so that the copy it asks for is a
    // change.
    virtual ChangeMark changeMark() = 0;
    // Returns true as soon as the clipboard changed after `mark` (a program took it, even
    // with the same text); false when it did not within `timeoutMs`. The program's
    // windows keep repainting meanwhile; key and mouse input waits.
    virtual bool waitForChange(ChangeMark mark, int timeoutMs) = 0;
    // Tests for text, then reads it. CannotOpen when the clipboard cannot be opened or
    // its owner does not hand the text over within a bounded time.
    virtual ClipboardText readText() = 0;

    // The highlighted text (the primary selection of X11 and Wayland), which programs offer
    // as the user selects, without any key. Its mark changes whenever a program takes the
    // selection anew, even with the same text; 0 until one has. Where there is no such
    // selection the mark stays 0 and nothing is read.
    virtual ChangeMark highlightMark() { return 0; }
    // As readText, for the highlighted text.
    virtual ClipboardText readHighlight() { return {}; }
};

// How a capture gets the text of the program in front.
enum class CopyWay {
    // Ctrl+C to the window in front, then the clipboard once the copy landed.
    Keystroke,
    // The highlighted text, and no key at all: in a terminal Ctrl+C interrupts the running
    // program, and some desktops let no program press keys.
    Highlight,
};

class CopyKeystroke {
public:
    virtual ~CopyKeystroke() = default;
    // Ctrl pressed, C pressed, C released, Ctrl released, to the window in front.
    virtual void sendCopyKeystroke() = 0;
    // How the window in front can be copied from now, asked at every capture.
    virtual CopyWay copyWay() { return CopyWay::Keystroke; }
};

// What has the keyboard, as far as a copy keystroke is concerned: a capture key must never
// copy from the program's own windows.
enum class Foreground { OtherProgram, OwnWindow, OwnBox };

class MainWindowState {
public:
    virtual ~MainWindowState() = default;
    // OwnWindow while one of the program's windows has the keyboard focus, OwnBox when
    // one of its message boxes or dialogs is open then too; OtherProgram otherwise, also
    // while a box is open behind the program in front.
    virtual Foreground foreground() const = 0;
    virtual bool isNormal() const = 0;
    virtual void minimize() = 0;
    // Normal state, active, restored and brought to the front.
    virtual void restoreAndActivate() = 0;
};

// The user's capture options, read at the moment of use.
class CaptureOptions {
public:
    virtual ~CaptureOptions() = default;
    // Whether the user wants hot key `id` (1..16) in force.
    virtual bool isHotKeyEnabled(int id) const = 0;
    // The tag names the user typed for F8 and F9, as Windows-1252 text.
    virtual std::string firstUserTag() const = 0;
    virtual std::string secondUserTag() const = 0;
    virtual CaseOption caseOption() const = 0;
    // Whether a capture also puts the address of the page its text came from under QUELLE.
    virtual bool recordSourceAddress() const = 0;
};

// What became of a request to register a hot key. The user is told the failures apart:
// a key held elsewhere may come free, a key the keyboard lacks needs another layout.
enum class HotKeyResult {
    Registered, // in force for the identifier afterwards, also when it already was
    Taken,      // another program holds the key (or this one, under another identifier)
    NoSuchKey,  // the keyboard has no such key
    Failed,     // refused for another reason, or no system-wide hot keys here
};

class HotKeyService {
public:
    virtual ~HotKeyService() = default;
    virtual HotKeyResult registerHotKey(int id, unsigned modifiers, unsigned virtualKey) = 0;
    virtual bool unregisterHotKey(int id) = 0;
};

} // namespace quillet
