#pragma once

#include "capture/capture_services.h"
#include "platform/surface_selection.h"

#include <memory>
#include <string>

namespace quillet {

// Marks for the capture's ledger where no selection change can be watched: only a read
// shows what is highlighted. A highlight counts as new when what a read finds differs from
// what the read before found; so the same text highlighted again is no news, while a read
// that found nothing in between makes it news again.
class HighlightMarks {
public:
    // 0 when nothing (or no text) is highlighted; the mark of the read before while text,
    // types and fetched extras stay the same; a new mark when they differ. A failed read
    // gets a mark of its own, so that the capture reports the failure, and leaves the
    // record alone.
    Clipboard::ChangeMark markOf(const SelectionRead& read);

private:
    std::string last_;
    Clipboard::ChangeMark lastMark_ = 0;
    Clipboard::ChangeMark next_ = 0;
};

// The highlighted text on a desktop where a moment of keyboard focus reads it (GNOME):
// every capture key reads it anew, and the mark tells whether it changed.
class FocusHighlight {
public:
    explicit FocusHighlight(std::unique_ptr<SurfaceSelectionReader> reader)
        : reader_(std::move(reader)) {}

    // Reads the highlight now and gives its mark.
    Clipboard::ChangeMark mark();
    // What the last mark() read, once: a text is never handed out twice, nor late.
    SelectionRead take();

private:
    std::unique_ptr<SurfaceSelectionReader> reader_;
    HighlightMarks marks_;
    SelectionRead pending_;
};

} // namespace quillet
