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
std::string SortTags(std::string_view text);

} // namespace quillet
