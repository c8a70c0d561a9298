#pragma once

#include "capture/capture_services.h"
#include "capture/capture_table.h"
#include "document/save_document.h"

#include <array>
#include <string_view>

namespace quillet {

// The highlighted text each key last took. Nothing else tells an old highlight from a new
// one, so a key takes a highlight once; another key may still take it.
class HighlightLedger {
public:
    // True when `mark` is a highlight that key `id` has not taken yet.
    bool isNewTo(int id, Clipboard::ChangeMark mark) const;
    void take(int id, Clipboard::ChangeMark mark);

private:
    std::array<Clipboard::ChangeMark, CaptureRowCount> taken_{};
};

// Everything one hot key may touch.
struct CaptureServices {
    TextView& view;
    Clipboard& clipboard;
    CopyKeystroke& keystroke;
    Waiter& waiter;
    DateSource& date;
    Notifier& notifier;
    FailureReporter& failures;
    MainWindowState& window;
    const CaptureOptions& options;
    HotKeySaver& saver;
    HighlightLedger& highlights;
};

// The shortest wait after the copy keystroke, even when the clipboard changes sooner.
inline constexpr int KeystrokeWaitMs = 20;
// The longest wait for the copy, counted from the keystroke. Large selections take long to
// copy: Evince took up to 0.6 s for 500 PDF pages here and about 1.5 s for a long PDF on a
// loaded machine; twice that still keeps a keystroke that copies nothing from hanging on.
inline constexpr int CopyWaitBoundMs = 3000;

// What the notification says instead of the row's status text when a capture did not get
// a new copy (each fits the notification window): the clipboard did not change within the
// bound, and its old text went in, or it held none; a window of the program itself had the
// keyboard, one of its boxes among them, so nothing was copied.
inline constexpr std::string_view OldTextStatus = "Keine Kopie: alter Text..";
inline constexpr std::string_view NoCopyStatus = "Keine neue Kopie..";
inline constexpr std::string_view OwnWindowStatus = "Quillet im Vordergrund..";
inline constexpr std::string_view OwnBoxStatus = "Erst Meldung schlie\xDF"
                                                 "en..";

// Handles one hot key when the user has its row switched on: for a capture, the copy
// keystroke, the wait for the copy and the clipboard's text into the document (or, where
// no key may be sent, the highlighted text if it is new to this key); else the date, the
// save or hiding and showing. Then the notification (except for hide and show).
void handleHotKey(int id, CaptureServices& services);

} // namespace quillet
