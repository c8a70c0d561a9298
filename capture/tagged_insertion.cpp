#include "capture/tagged_insertion.h"

#include "document/tags.h"

namespace quillet {

std::string applyCaseOption(std::string_view text, CaseOption option) {
    std::string result(text);
    if (option == CaseOption::Upper) {
        for (char& c : result)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
    } else if (option == CaseOption::Lower) {
        for (char& c : result)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
    }
    return result;
}

void insertTagged(TextView& view, std::string_view tagName, std::string_view text,
                  CaseOption option) {
    const std::string content = applyCaseOption(text, option);
    const std::string closing = closingMarker(tagName);

    // Merging only ever adds bytes in front of the closing marker, so it is an insertion.
    std::string merged;
    merged.reserve(content.size() + 4);
    merged.append("\r\n\r\n").append(content);
    if (view.insertBefore(closing, merged))
        return;

    std::string line = openingMarker(tagName);
    line.append(content).append(closing);
    appendLine(view, line);
    appendLine(view, "");
}

} // namespace quillet
