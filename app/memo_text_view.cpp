#include "app/memo_text_view.h"

#include "platform/qt_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstring>

namespace quillet {

MemoTextView::MemoTextView(QPlainTextEdit& memo) : memo_(memo) {
    rebuild();
    connect(memo_.document(), &QTextDocument::contentsChange, this, [this] {
        if (!editing_)
            bytesValid_ = false;
    });
}

const std::string& MemoTextView::bytes() const {
    if (!bytesValid_)
        rebuild();
    return bytes_;
}

void MemoTextView::rebuild() const {
    // toPlainText() would turn no-break spaces into spaces; the raw text keeps them.
    bytes_ = toDocumentText(memo_.document()->toRawText(), pairPositions_);
    bytesValid_ = true;
}

int MemoTextView::displayPosition(std::size_t bytePosition) const {
    // The control keeps a line break as one unit, the document as CR LF; a character
    // beyond the Basic Multilingual Plane is two units there and one "?" here.
    // Counted with memchr: a capture into a large document counts through all of it.
    std::ptrdiff_t breaks = 0;
    const char* const end = bytes_.data() + bytePosition;
    for (const char* p = bytes_.data();
         (p = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)))) != nullptr; ++p)
        ++breaks;
    const auto pairs =
        std::lower_bound(pairPositions_.begin(), pairPositions_.end(), bytePosition) -
        pairPositions_.begin();
    return static_cast<int>(bytePosition - breaks + pairs);
}

std::string MemoTextView::text() const {
    return bytes();
}

void MemoTextView::setText(std::string_view text) {
    editing_ = true;
    memo_.setPlainText(toDisplayText(text));
    editing_ = false;
    // A lone CR or LF becomes a line break of the control, which reads back as CR LF.
    rebuild();
}

bool MemoTextView::insertBefore(std::string_view needle, std::string_view insertion) {
    const std::string& whole = bytes();
    const auto pos = whole.find(needle);
    if (pos == std::string::npos)
        return false;
    edit(pos, insertion);
    return true;
}

void MemoTextView::append(std::string_view bytes) {
    edit(this->bytes().size(), bytes);
}

bool MemoTextView::isEmpty() const {
    return bytes().empty();
}

bool MemoTextView::endsWithLineBreak() const {
    const std::string& whole = bytes();
    return whole.size() >= 2 && whole[whole.size() - 2] == '\r' && whole.back() == '\n';
}

void MemoTextView::read(const std::function<void(std::string_view)>& reader) const {
    reader(bytes());
}

void MemoTextView::edit(std::size_t bytePosition, std::string_view insertion) {
    const QString shown = toDisplayText(insertion);
    editing_ = true;
    QTextCursor cursor(memo_.document());
    // At the end there is nothing to count.
    if (bytePosition == bytes_.size())
        cursor.movePosition(QTextCursor::End);
    else
        cursor.setPosition(displayPosition(bytePosition));
    cursor.insertText(shown);
    editing_ = false;
    // What the control now holds at that place, in document bytes; the inserted text has
    // no character of two units, but moves those behind it.
    const std::string inserted = toDocumentText(shown);
    bytes_.insert(bytePosition, inserted);
    for (auto p = std::lower_bound(pairPositions_.begin(), pairPositions_.end(), bytePosition);
         p != pairPositions_.end(); ++p)
        *p += inserted.size();
}

} // namespace quillet
