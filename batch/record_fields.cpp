#include "batch/record_fields.h"

namespace quillet {

FieldContents findFieldContents(std::string_view text) {
    constexpr std::size_t none = std::string_view::npos;
    std::array<std::size_t, XmlFields.size()> opening;
    std::array<std::size_t, XmlFields.size()> closing;
    opening.fill(none);
    closing.fill(none);
    // Every marker starts with "{" and holds no other, so one pass over the braces finds
    // the first occurrence of each.
    std::size_t missing = 2 * XmlFields.size();
    for (std::size_t pos = text.find('{'); pos != none && missing > 0;
         pos = text.find('{', pos + 1)) {
        const std::string_view rest = text.substr(pos);
        const bool isClosing = rest.size() > 1 && rest[1] == '/';
        auto& first = isClosing ? closing : opening;
        for (std::size_t r = 0; r < XmlFields.size(); ++r) {
            const std::string_view marker = isClosing ? XmlFields[r].closing : XmlFields[r].opening;
            if (rest.starts_with(marker)) {
                if (first[r] == none) {
                    first[r] = pos;
                    --missing;
                }
                break;
            }
        }
    }

    FieldContents contents;
    for (std::size_t r = 0; r < XmlFields.size(); ++r) {
        if (opening[r] == none)
            continue;
        const std::size_t begin = opening[r] + XmlFields[r].opening.size();
        contents[r] = closing[r] != none && closing[r] > begin
                          ? text.substr(begin, closing[r] - begin)
                          : std::string_view();
    }
    return contents;
}

} // namespace quillet
