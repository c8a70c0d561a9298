#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quillet {

// The fixed order of the eleven predefined tags in a sorted document.
const std::array<std::string_view, 11>& sortOrder();

// Moves the sections of the predefined tags to the front in the fixed order, each
// preceded by an empty line (MEDIUM, first, by nothing), followed by an empty line and
// everything else in its old order.
std::string sortTags(std::string_view text);

// The sorted document in two pieces, head + rest, for callers that own a large document:
// the text is moved in and cut in place, and the pieces can be written one after the
// other, so the document is never held twice.
struct SortedSections {
    std::string head; // the sections, the empty line behind them included
    std::string rest;
};
SortedSections sortTagSections(std::string text);

} // namespace quillet
