#include "text/text_view.h"

namespace quillet {

namespace {

bool endsWithCrLf(std::string_view text) {
    return text.size() >= 2 && text[text.size() - 2] == '\r' && text.back() == '\n';
}

} // namespace

bool TextView::insertBefore(std::string_view needle, std::string_view insertion) {
    std::string whole = text();
    const auto pos = whole.find(needle);
    if (pos == std::string::npos)
        return false;
    whole.insert(pos, insertion);
    setText(whole);
    return true;
}

void TextView::append(std::string_view bytes) {
    std::string whole = text();
    whole.append(bytes);
    setText(whole);
}

bool TextView::isEmpty() const {
    return text().empty();
}

bool TextView::endsWithLineBreak() const {
    return endsWithCrLf(text());
}

void TextView::read(const std::function<void(std::string_view)>& reader) const {
    reader(text());
}

bool StringTextView::insertBefore(std::string_view needle, std::string_view insertion) {
    const auto pos = text_.find(needle);
    if (pos == std::string::npos)
        return false;
    text_.insert(pos, insertion);
    return true;
}

bool StringTextView::endsWithLineBreak() const {
    return endsWithCrLf(text_);
}

void appendLine(TextView& view, std::string_view line) {
    std::string piece;
    if (view.isEmpty() || view.endsWithLineBreak()) {
        piece.reserve(line.size() + 2);
        piece.append(line).append("\r\n");
    } else {
        piece.reserve(line.size() + 2);
        piece.append("\r\n").append(line);
    }
    view.append(piece);
}

} // namespace quillet
