#include "platform/focus_highlight.h"

#include "platform/address_offer.h"

#include <utility>

namespace quillet {

namespace {

// How long the owner of the highlight may take: the focus, then the text.
constexpr auto ReadWait = std::chrono::milliseconds(1000);

// Everything a read found, in one string: a change anywhere is a new highlight.
std::string fingerprint(const SelectionRead& read) {
    std::string all;
    for (const std::string& type : read.types)
        all += type + '\n';
    all += '\0' + read.text;
    for (const auto& [type, bytes] : read.extras)
        all += '\0' + type + '\0' + bytes;
    return all;
}

} // namespace

Clipboard::ChangeMark HighlightMarks::markOf(const SelectionRead& read) {
    switch (read.outcome) {
    case SelectionRead::Outcome::NoAnswer:
        return ++next_;
    case SelectionRead::Outcome::NoText:
        last_.clear();
        lastMark_ = 0;
        return 0;
    case SelectionRead::Outcome::Text:
        break;
    }
    std::string seen = fingerprint(read);
    if (lastMark_ == 0 || seen != last_) {
        last_ = std::move(seen);
        lastMark_ = ++next_;
    }
    return lastMark_;
}

Clipboard::ChangeMark FocusHighlight::mark() {
    // A browser offers the page's address beside the highlighted text.
    pending_ = reader_->read(ReadWait, {AddressTypes.begin(), AddressTypes.end()});
    for (const std::string_view type : AddressTypes)
        for (const auto& [offered, bytes] : pending_.extras)
            if (pending_.sourceAddress.empty() && offered == type)
                pending_.sourceAddress = addressFromOffer(type, bytes);
    return marks_.markOf(pending_);
}

SelectionRead FocusHighlight::take() {
    return std::exchange(pending_, SelectionRead{});
}

} // namespace quillet
