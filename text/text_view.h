#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quillet {

// The document as the core sees it: Windows-1252 bytes with CR LF line breaks.
// Only text() and setText() are required; the other operations have whole-text fallbacks
// that a view holding a large document overrides with edits at the changed place.
class TextView {
public:
    virtual ~TextView() = default;

    virtual std::string text() const = 0;
    virtual void setText(std::string_view text) = 0;

    // Inserts `insertion` directly before the first occurrence of `needle`.
    // Returns false, changing nothing, when `needle` does not occur.
    virtual bool insertBefore(std::string_view needle, std::string_view insertion);
    virtual void append(std::string_view bytes);
    virtual bool isEmpty() const;
    virtual bool endsWithLineBreak() const;
    // Hands the whole text to `reader`, without a copy where the view can.
    virtual void read(const std::function<void(std::string_view whole)>& reader) const;
};

// A text view over a plain string: the document of the command-line tool and of tests.
class StringTextView : public TextView {
public:
    StringTextView() = default;
    explicit StringTextView(std::string text) : text_(std::move(text)) {}

    std::string text() const override { return text_; }
    void setText(std::string_view text) override { text_.assign(text); }
    bool insertBefore(std::string_view needle, std::string_view insertion) override;
    void append(std::string_view bytes) override { text_.append(bytes); }
    bool isEmpty() const override { return text_.empty(); }
    bool endsWithLineBreak() const override;
    void read(const std::function<void(std::string_view)>& reader) const override { reader(text_); }

    const std::string& str() const { return text_; }

private:
    std::string text_;
};

// Adds one line at the end: text + line + CR LF when the text is empty or ends with
// CR LF, otherwise text + CR LF + line.
void appendLine(TextView& view, std::string_view line);

} // namespace quillet
