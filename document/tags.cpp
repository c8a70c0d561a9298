#include "document/tags.h"

namespace quillet {

std::string openingMarker(std::string_view name) {
    std::string marker;
    marker.reserve(name.size() + 2);
    marker += '{';
    marker += name;
    marker += '}';
    return marker;
}

std::string closingMarker(std::string_view name) {
    std::string marker;
    marker.reserve(name.size() + 3);
    marker += "{/";
    marker += name;
    marker += '}';
    return marker;
}

} // namespace quillet
