#include "capture/html_format.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace quillet {

namespace {

// Where a header would end at the latest: the offsets, the other keys and the longest
// address taken fit easily; the HTML behind is never read.
constexpr std::size_t MaxHeaderBytes = 8192;

// One header line "Key:value"; the key is letters only, which no HTML line starts with.
struct HeaderLine {
    std::string_view key;
    std::string_view value;
    std::size_t next = 0; // where the following line starts
};

// The line at `at` of `header`, when it is a whole header line.
std::optional<HeaderLine> headerLineAt(std::string_view header, std::size_t at) {
    const std::string_view rest = header.substr(at);
    const auto end = rest.find_first_of("\r\n");
    if (end == std::string_view::npos)
        return std::nullopt;
    const std::string_view line = rest.substr(0, end);
    const auto colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos ||
        !std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(colon),
                     [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }))
        return std::nullopt;
    const std::size_t breakLength = rest.substr(end, 2) == "\r\n" ? 2 : 1;
    return HeaderLine{line.substr(0, colon), line.substr(colon + 1), at + end + breakLength};
}

// An offset as the header writes it (zero-padded digits); -1 only where it may stand.
std::optional<long long> offsetOf(std::string_view value, bool mayBeNone) {
    long long number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size() || value.empty() ||
        number < (mayBeNone ? -1 : 0))
        return std::nullopt;
    return number;
}

} // namespace

std::string_view htmlFormatSourceUrl(std::string_view data) {
    bool version = false;
    std::optional<long long> startHtml, endHtml, startFragment, endFragment;
    std::optional<std::string_view> sourceUrl;
    // The header ends where the HTML starts (or the fragment, where the HTML is given as
    // none); until both offsets are read, at the latest possible end.
    std::string_view header = data.substr(0, MaxHeaderBytes);
    for (auto line = headerLineAt(header, 0); line; line = headerLineAt(header, line->next)) {
        if (line->key == "Version")
            version = true;
        else if (line->key == "StartHTML")
            startHtml = offsetOf(line->value, true);
        else if (line->key == "EndHTML")
            endHtml = offsetOf(line->value, true);
        else if (line->key == "StartFragment")
            startFragment = offsetOf(line->value, false);
        else if (line->key == "EndFragment")
            endFragment = offsetOf(line->value, false);
        else if (line->key == "SourceURL" && !sourceUrl)
            sourceUrl = line->value;
        if (startHtml && startFragment) {
            const long long end = *startHtml == -1 ? *startFragment : *startHtml;
            if (end < static_cast<long long>(line->next))
                return {}; // the header runs into what it says is HTML
            header = header.substr(0, static_cast<std::size_t>(end));
        }
    }
    if (!version || !startHtml || !endHtml || !startFragment || !endFragment || !sourceUrl)
        return {};
    const auto size = static_cast<long long>(data.size());
    const bool noContext = *startHtml == -1 && *endHtml == -1;
    const bool fits = *startFragment <= *endFragment && *endFragment <= size &&
                      (noContext || (*startHtml >= 0 && *startHtml <= *startFragment &&
                                     *endFragment <= *endHtml && *endHtml <= size));
    return fits ? *sourceUrl : std::string_view();
}

} // namespace quillet
