#include "capture/source_address.h"

#include "document/tags.h"
#include "text/display_text.h"

#include <algorithm>
#include <array>

namespace quillet {

namespace {

constexpr std::string_view SourceTag = "QUELLE";
constexpr std::string_view PieceBreak = "\r\n\r\n";

bool hasSchemeOf(std::string_view address, std::string_view scheme) {
    return address.size() > scheme.size() &&
           std::equal(scheme.begin(), scheme.end(), address.begin(),
                      [](char a, char b) { return a == (b | 0x20); }) &&
           address[scheme.size()] == ':';
}

// Whether the section that a QUELLE capture would go into holds `content` as one piece: it
// ends at the first closing marker and starts after the last opening marker before it (or
// at the document's start, where a capture would merge all the same).
bool sectionHolds(std::string_view whole, std::string_view content) {
    const std::string opening = openingMarker(SourceTag);
    const auto end = whole.find(closingMarker(SourceTag));
    if (end == std::string_view::npos)
        return false;
    const auto start =
        end >= opening.size() ? whole.rfind(opening, end - opening.size()) : std::string_view::npos;
    std::string_view section = whole.substr(0, end);
    if (start != std::string_view::npos)
        section.remove_prefix(start + opening.size());
    for (;;) {
        const auto cut = section.find(PieceBreak);
        if (section.substr(0, cut) == content)
            return true;
        if (cut == std::string_view::npos)
            return false;
        section.remove_prefix(cut + PieceBreak.size());
    }
}

} // namespace

std::optional<std::string> documentSourceAddress(std::string_view offered) {
    // Browsers may end the address with a line break or, in UTF-16, a NUL.
    while (!offered.empty() && (offered.back() == '\0' || offered.back() == ' ' ||
                                offered.back() == '\r' || offered.back() == '\n'))
        offered.remove_suffix(1);
    if (offered.size() > MaxSourceAddressBytes)
        return std::nullopt;
    const std::array<std::string_view, 3> schemes{"http", "https", "file"};
    if (std::none_of(schemes.begin(), schemes.end(),
                     [&](std::string_view s) { return hasSchemeOf(offered, s); }))
        return std::nullopt;
    // A line break or another control character would change the document's layout.
    if (std::any_of(offered.begin(), offered.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        return std::nullopt;
    return documentTextFromUtf8(offered);
}

void recordSourceAddress(TextView& view, std::string_view offered, CaseOption option) {
    const std::optional<std::string> address = documentSourceAddress(offered);
    if (!address)
        return;
    const std::string content = applyCaseOption(*address, option);
    bool held = false;
    view.read([&](std::string_view whole) { held = sectionHolds(whole, content); });
    if (!held)
        insertTagged(view, SourceTag, *address, option);
}

} // namespace quillet
