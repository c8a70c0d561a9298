#pragma once

#include <string_view>

namespace quillet {

// The page's address in the "HTML Format" that browsers put on the Windows clipboard beside
// the text: the value of the SourceURL line of its header (UTF-8), empty when there is none.
// The header is a few "Key:value" lines whose byte offsets say where the HTML and the
// copied fragment lie in `data`; it ends where the HTML starts, and only it is read, never
// the HTML. A header whose offsets are missing, point outside `data` or contradict each
// other is not trusted for an address either.
std::string_view htmlFormatSourceUrl(std::string_view data);

} // namespace quillet
