#pragma once

#include "capture/capture_services.h"
#include "document/save_document.h"

namespace quillet {

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
};

inline constexpr int KeystrokeWaitMs = 20;
inline constexpr int ClipboardWaitMs = 300;

// Handles one hot key: the copy keystroke first, then the action of the identifier's row
// when the user has it switched on, then the notification (except for hide and show).
void handleHotKey(int id, CaptureServices& services);

} // namespace quillet
