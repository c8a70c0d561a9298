#pragma once

#include "text/text_view.h"

#include <QObject>

#include <string>
#include <vector>

class QPlainTextEdit;

namespace quillet {

// The document as `Memo1` shows it. Reads and whole-text writes convert between document
// bytes and the control's text; captures go in as cursor edits at the changed place, so
// a capture into a large document costs little more than the captured text.
class MemoTextView : public QObject, public TextView {
    Q_OBJECT
public:
    explicit MemoTextView(QPlainTextEdit& memo);

    std::string text() const override;
    void setText(std::string_view text) override;
    bool insertBefore(std::string_view needle, std::string_view insertion) override;
    void append(std::string_view bytes) override;
    bool isEmpty() const override;
    bool endsWithLineBreak() const override;
    void read(const std::function<void(std::string_view)>& reader) const override;

    QPlainTextEdit& control() const { return memo_; }

private:
    // The document bytes of the control's text, rebuilt after the user edited it.
    const std::string& bytes() const;
    void rebuild() const;
    // Where a document position lies in the control, counted in its UTF-16 units.
    int displayPosition(std::size_t bytePosition) const;
    void edit(std::size_t bytePosition, std::string_view insertion);

    QPlainTextEdit& memo_;
    mutable std::string bytes_;
    // Positions in bytes_ of the characters that take two units in the control.
    mutable std::vector<std::size_t> pairPositions_;
    mutable bool bytesValid_ = true;
    bool editing_ = false;
};

} // namespace quillet
