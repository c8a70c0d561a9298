#include "capture/capture_dispatch.h"

#include "capture/capture_table.h"

#include <optional>
#include <utility>

namespace quillet {

namespace {

constexpr std::string_view ClipboardFailure = "Zwischenablage kann nicht ge\xF6"
                                              "ffnet werden";

// Waits for the other program's copy, then reads its text. Empty when the clipboard holds
// no text; reports and gives up the whole hot key when the clipboard cannot be opened.
std::optional<std::string> readClipboardText(CaptureServices& s, bool& failed) {
    s.waiter.sleepMs(ClipboardWaitMs);
    ClipboardText clip = s.clipboard.readText();
    if (clip.status == ClipboardText::Status::CannotOpen) {
        s.failures.showGeneralError(ClipboardFailure);
        failed = true;
        return std::nullopt;
    }
    if (clip.status == ClipboardText::Status::NoText)
        return std::nullopt;
    return std::move(clip.text);
}

std::string tagNameOf(const CaptureRow& row, const CaptureOptions& options) {
    switch (row.tagSource) {
    case TagSource::FirstUserTag:
        return options.firstUserTag();
    case TagSource::SecondUserTag:
        return options.secondUserTag();
    case TagSource::Fixed:
    case TagSource::None:
        break;
    }
    return std::string(row.tag);
}

void hideOrShow(MainWindowState& window) {
    if (window.isNormal())
        window.minimize();
    else
        window.restoreAndActivate();
}

} // namespace

void handleHotKey(int id, CaptureServices& s) {
    s.keystroke.sendCopyKeystroke();
    s.waiter.sleepMs(KeystrokeWaitMs);

    const CaptureRow* row = findCaptureRow(id);
    if (!row)
        return;
    std::string status;
    const bool checked = s.options.isHotKeyEnabled(row->id);

    if (checked) {
        bool failed = false;
        switch (row->action) {
        case CaptureAction::Tagged:
            if (auto text = readClipboardText(s, failed)) {
                insertTagged(s.view, tagNameOf(*row, s.options), *text, s.options.caseOption());
                status = row->status;
            }
            break;
        case CaptureAction::Date:
            insertTagged(s.view, row->tag, s.date.todayShortDate(), s.options.caseOption());
            status = row->status;
            break;
        case CaptureAction::Untagged:
            if (auto text = readClipboardText(s, failed)) {
                appendLine(s.view, *text);
                appendLine(s.view, "");
                status = row->status;
            }
            break;
        case CaptureAction::Save:
            if (auto saved = s.saver.saveFromHotKey())
                status = std::move(*saved);
            else
                failed = true;
            break;
        case CaptureAction::HideShow:
            hideOrShow(s.window);
            break;
        }
        if (failed)
            return;
    }

    if (row->action != CaptureAction::HideShow)
        s.notifier.showNotification(status);
}

} // namespace quillet
