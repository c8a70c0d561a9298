// The capture path of the program as Windows code, without its windows: the capture core
// (registry, dispatch, tagged insertion, the save routine) with the Win32 steps, on the
// message queue of the main thread. tests/wine/notepad_e2e.sh drives it under Wine.
//
// usage: quillet-wine-capture SAVE_FOLDER
// It registers the keys that start switched on, prints "ready", then one line for each
// notification or error, and ends after the first save (F10).
#include "capture/capture_dispatch.h"
#include "capture/capture_table.h"
#include "capture/hotkey_registry.h"
#include "document/save_document.h"
#include "files/file_system.h"
#include "platform/win32_capture.h"
#include "services/date_text.h"
#include "text/cp1252.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace quillet {
namespace {

void say(std::string_view what, std::string_view cp1252) {
    std::printf("%.*s %s\n", static_cast<int>(what.size()), what.data(),
                convertToUtf8(cp1252).c_str());
    std::fflush(stdout);
}

class Win32Steps : public HotKeyService, public Clipboard, public CopyKeystroke {
public:
    HotKeyResult registerHotKey(int id, unsigned modifiers, unsigned virtualKey) override {
        return registerSystemHotKey(nullptr, id, modifiers, virtualKey);
    }
    bool unregisterHotKey(int id) override { return unregisterSystemHotKey(nullptr, id); }
    ChangeMark changeMark() override { return clipboardSequence(); }
    bool waitForChange(ChangeMark mark, int timeoutMs) override {
        return waitForClipboardChange(static_cast<std::uint32_t>(mark), timeoutMs);
    }
    ClipboardText readText() override { return readClipboardText(); }
    void sendCopyKeystroke() override { sendCopyKeys(); }
    CopyWay copyWay() override { return copyWayInFront(); }
    ChangeMark highlightMark() override { return handCopies_.mark(); }
    ClipboardText readHighlight() override { return readClipboardText(); }

private:
    HandCopies handCopies_;
};

// What the main window stands for: its state, the options at their start values, the
// notification and the boxes as lines on standard output.
class Console : public MainWindowState,
                public CaptureOptions,
                public Notifier,
                public FailureReporter,
                public MessageBoxes,
                public SaveWindow,
                public SaveSettingsSource {
public:
    explicit Console(SaveSettings settings) : settings_(std::move(settings)) {}

    Foreground foreground() const override {
        return isOwnProcessInFront() ? Foreground::OwnWindow : Foreground::OtherProgram;
    }
    bool isNormal() const override { return true; }
    void minimize() override {}
    void restoreAndActivate() override {}

    bool isHotKeyEnabled(int id) const override { return findCaptureRow(id)->checkedAtStart; }
    std::string firstUserTag() const override { return {}; }
    std::string secondUserTag() const override { return {}; }
    CaseOption caseOption() const override { return CaseOption::Normal; }
    bool recordSourceAddress() const override { return false; }

    void showNotification(std::string_view status) override { say("notification", status); }
    void showGeneralError(std::string_view message) override { say("error", message); }
    void showError(std::string_view message) override { say("error", message); }
    void showInformation(std::string_view message) override { say("information", message); }
    bool askWarning(std::string_view question) override {
        say("warning", question);
        return false;
    }
    void restoreMainWindow() override {}
    void showControlsPage() override {}
    SaveSettings saveSettings() const override { return settings_; }

private:
    SaveSettings settings_;
};

} // namespace
} // namespace quillet

int main(int argc, char** argv) {
    using namespace quillet;
    if (argc != 2) {
        std::fputs("usage: quillet-wine-capture SAVE_FOLDER\n", stderr);
        return 2;
    }
    setBinaryMode(stdout); // lines end with "\n", as the script reads them
    SaveSettings settings;
    settings.folder = nativePathFromArgument(argv[1]);
    settings.baseName = "Notepad";
    Console console(settings);
    Win32Steps steps;
    StringTextView document;
    SleepingWaiter waiter;
    SystemDateSource date;
    DocumentSaver saver(console, {document, console, console, console, date, console});
    HighlightLedger highlights;
    CaptureServices services{document, steps,   steps,   waiter, date,      console,
                             console,  console, console, saver,  highlights};

    for (const UnregisteredKey& key : registerStartHotKeys(steps))
        std::printf("unregistered %d\n", key.id);
    std::puts("ready");
    std::fflush(stdout);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message != WM_HOTKEY)
            continue;
        const int id = static_cast<int>(msg.wParam);
        handleHotKey(id, services);
        if (id == 10)
            break;
    }
    releaseHotKeys(steps);
    return 0;
}
