#include "app/memo_text_view.h"

#include "text/display_text.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace quillet {

namespace {

// The control keeps line breaks as one character; the document, as CR LF.
int displayLength(std::string_view bytes) {
    const auto pairs = std::count(bytes.begin(), bytes.end(), '\n');
    return static_cast<int>(bytes.size()) - static_cast<int>(pairs);
}

} // namespace

MemoTextView::MemoTextView(QPlainTextEdit& memo) : memo_(memo) {
    bytes_ = toDocumentText(memo_.document()->toRawText());
    connect(memo_.document(), &QTextDocument::contentsChange, this, [this] {
        if (!editing_)
            bytesValid_ = false;
    });
}

const std::string& MemoTextView::bytes() const {
    if (!bytesValid_) {
        // toPlainText() would turn no-break spaces into spaces; the raw text keeps them.
        bytes_ = toDocumentText(memo_.document()->toRawText());
        bytesValid_ = true;
    }
    return bytes_;
}

std::string MemoTextView::text() const {
    return bytes();
}

void MemoTextView::setText(std::string_view text) {
    editing_ = true;
    memo_.setPlainText(toDisplayText(text));
    editing_ = false;
    // A lone CR or LF becomes a line break of the control, which reads back as CR LF.
    bytes_ = toDocumentText(memo_.document()->toRawText());
    bytesValid_ = true;
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

void MemoTextView::edit(std::size_t bytePosition, std::string_view insertion) {
    const QString shown = toDisplayText(insertion);
    editing_ = true;
    QTextCursor cursor(memo_.document());
    // At the end there is nothing to count.
    if (bytePosition == bytes_.size())
        cursor.movePosition(QTextCursor::End);
    else
        cursor.setPosition(displayLength(std::string_view(bytes_).substr(0, bytePosition)));
    cursor.insertText(shown);
    editing_ = false;
    // What the control now holds at that place, in document bytes.
    bytes_.insert(bytePosition, toDocumentText(shown));
}

} // namespace quillet
