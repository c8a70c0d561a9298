#include "capture/capture_dispatch.h"

#include "capture/capture_table.h"
#include "capture/source_address.h"

#include <optional>
#include <utility>

namespace quillet {

namespace {

constexpr std::string_view ClipboardFailure = "Zwischenablage kann nicht ge\xF6"
                                              "ffnet werden";

// What a capture key got from the clipboard.
struct Copied {
    std::optional<std::string> text; // nothing when there is nothing to insert
    std::string_view status;
    bool failed = false; // the error box ended the handling
    // The address of the page a fresh text came from; never that of an old text, which may
    // come from anywhere.
    std::string sourceAddress{};
};

Copied failedToOpen(CaptureServices& s) {
    s.failures.showGeneralError(ClipboardFailure);
    return {std::nullopt, {}, true};
}

// The highlighted text, only when it is new to this key: an old highlight is never taken
// for a new one.
Copied takeHighlight(const CaptureRow& row, CaptureServices& s) {
    const Clipboard::ChangeMark mark = s.clipboard.highlightMark();
    if (!s.highlights.isNewTo(row.id, mark))
        return {std::nullopt, NoCopyStatus};
    ClipboardText highlight = s.clipboard.readHighlight();
    if (highlight.status == ClipboardText::Status::CannotOpen)
        return failedToOpen(s);
    s.highlights.take(row.id, mark);
    if (highlight.status == ClipboardText::Status::NoText)
        return {std::nullopt, {}};
    return {std::move(highlight.text), row.status, false, std::move(highlight.sourceAddress)};
}

// Makes the program in front copy its selection and takes the clipboard's text once the
// copy has landed, or once the wait for it is over.
Copied copyFromForeground(const CaptureRow& row, CaptureServices& s) {
    switch (s.window.foreground()) {
    case Foreground::OwnBox:
        return {std::nullopt, OwnBoxStatus};
    case Foreground::OwnWindow:
        return {std::nullopt, OwnWindowStatus};
    case Foreground::OtherProgram:
        break;
    }
    if (s.keystroke.copyWay() == CopyWay::Highlight)
        return takeHighlight(row, s);
    const Clipboard::ChangeMark before = s.clipboard.changeMark();
    s.keystroke.sendCopyKeystroke();
    s.waiter.sleepMs(KeystrokeWaitMs);
    const bool changed = s.clipboard.waitForChange(before, CopyWaitBoundMs - KeystrokeWaitMs);
    ClipboardText clip = s.clipboard.readText();
    if (clip.status == ClipboardText::Status::CannotOpen)
        return failedToOpen(s);
    // Whatever is highlighted now was there to copy: the same key in a terminal next must
    // not take it a second time.
    s.highlights.take(row.id, s.clipboard.highlightMark());
    // People who copy by hand and then press the key rely on an unchanged clipboard being
    // taken; the notification just must not pass it off as a new copy.
    if (clip.status == ClipboardText::Status::NoText)
        return {std::nullopt, changed ? std::string_view() : NoCopyStatus};
    if (!changed)
        return {std::move(clip.text), OldTextStatus};
    return {std::move(clip.text), row.status, false, std::move(clip.sourceAddress)};
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

bool HighlightLedger::isNewTo(int id, Clipboard::ChangeMark mark) const {
    return mark != 0 && findCaptureRow(id) && taken_[std::size_t(id - 1)] != mark;
}

void HighlightLedger::take(int id, Clipboard::ChangeMark mark) {
    if (findCaptureRow(id))
        taken_[std::size_t(id - 1)] = mark;
}

void handleHotKey(int id, CaptureServices& s) {
    const CaptureRow* row = findCaptureRow(id);
    if (!row)
        return;
    std::string status;

    if (s.options.isHotKeyEnabled(row->id)) {
        switch (row->action) {
        case CaptureAction::Tagged:
        case CaptureAction::Untagged: {
            Copied copied = copyFromForeground(*row, s);
            if (copied.failed)
                return;
            if (copied.text && row->action == CaptureAction::Tagged) {
                insertTagged(s.view, tagNameOf(*row, s.options), *copied.text,
                             s.options.caseOption());
            } else if (copied.text) {
                appendLine(s.view, *copied.text);
                appendLine(s.view, "");
            }
            if (copied.text && !copied.sourceAddress.empty() && s.options.recordSourceAddress())
                recordSourceAddress(s.view, copied.sourceAddress, s.options.caseOption());
            status = copied.status;
            break;
        }
        case CaptureAction::Date:
            insertTagged(s.view, row->tag, s.date.todayShortDate(), s.options.caseOption());
            status = row->status;
            break;
        case CaptureAction::Save:
            if (auto saved = s.saver.saveFromHotKey())
                status = std::move(*saved);
            else
                return;
            break;
        case CaptureAction::HideShow:
            hideOrShow(s.window);
            return;
        }
    } else if (row->action == CaptureAction::HideShow) {
        return;
    }
    s.notifier.showNotification(status);
}

} // namespace quillet
