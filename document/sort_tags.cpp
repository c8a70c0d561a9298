#include "document/sort_tags.h"

#include "document/tags.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace quillet {

namespace {

constexpr std::array<std::string_view, 11> SortOrder{
    "MEDIUM", "OBERTITEL", "TITEL", "UNTERTITEL", "E_DATUM", "A_DATUM",
    "AUTOR",  "SEITE",     "THEMA", "TEXT",       "QUELLE",
};

constexpr std::string_view Separator = "\r\n\r\n";

// Markers are searched for in the whole document, mostly in vain for the tags a document
// lacks: a skipping search reads only a fraction of the bytes.
std::size_t findFrom(std::string_view text, std::string_view needle, std::size_t from) {
    const auto hay = text.substr(from);
    const auto hit = std::search(hay.begin(), hay.end(),
                                 std::boyer_moore_horspool_searcher(needle.begin(), needle.end()));
    return hit == hay.end() ? std::string::npos
                            : from + static_cast<std::size_t>(hit - hay.begin());
}

} // namespace

const std::array<std::string_view, 11>& sortOrder() {
    return SortOrder;
}

// Each section is cut out of the remaining text, tag by tag, and the piece that was cut
// is what the head receives, so no byte can be lost or doubled.
//
// Damaged documents (edited by hand) are handled so that nothing is lost:
// - an opening marker is paired with the first closing marker behind it; a tag with no
//   closing marker behind its first opening marker has no section and stays in the rest;
// - the four bytes behind a section are removed only when they are the empty line
//   CR LF CR LF; anything else there stays in the rest.
// A section nested in an earlier one travels inside it.
SortedSections sortTagSections(std::string text) {
    SortedSections sorted;
    std::string& rest = sorted.rest;
    std::string& head = sorted.head;
    rest = std::move(text);

    for (std::string_view tag : SortOrder) {
        const std::string open = openingMarker(tag);
        const std::string close = closingMarker(tag);
        const auto start = findFrom(rest, open, 0);
        if (start == std::string::npos)
            continue;
        const auto closeAt = findFrom(rest, close, start + open.size());
        if (closeAt == std::string::npos)
            continue;
        const auto end = closeAt + close.size();

        if (tag != SortOrder.front())
            head.append(Separator);
        head.append(rest, start, end - start);

        auto cut = end - start;
        if (std::string_view(rest).substr(end, Separator.size()) == Separator)
            cut += Separator.size();
        rest.erase(start, cut);
    }

    head.append(Separator);
    return sorted;
}

std::string sortTags(std::string_view text) {
    SortedSections sorted = sortTagSections(std::string(text));
    sorted.head.append(sorted.rest);
    return std::move(sorted.head);
}

} // namespace quillet
