#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The markers around a section of tagged text: "{" + name + "}" before it and
// "{/" + name + "}" after it. A name is any byte string, used as it stands.
std::string openingMarker(std::string_view name);
std::string closingMarker(std::string_view name);

} // namespace quillet
