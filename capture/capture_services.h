#pragma once

#include "capture/tagged_insertion.h"
#include "text/services.h"
#include "text/text_view.h"

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
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Tests for text without opening the clipboard; then opens, reads and closes it.
    virtual ClipboardText readText() = 0;
};

class CopyKeystroke {
public:
    virtual ~CopyKeystroke() = default;
    // Ctrl pressed, C pressed, C released, Ctrl released, to the window in front.
    virtual void sendCopyKeystroke() = 0;
};

class MainWindowState {
public:
    virtual ~MainWindowState() = default;
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
};

class HotKeyService {
public:
    virtual ~HotKeyService() = default;
    virtual bool registerHotKey(int id, unsigned modifiers, unsigned virtualKey) = 0;
    virtual bool unregisterHotKey(int id) = 0;
};

} // namespace quillet
