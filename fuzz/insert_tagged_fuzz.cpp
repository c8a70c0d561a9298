#include "capture/capture_table.h"
#include "capture/tagged_insertion.h"
#include "document/tags.h"
#include "fuzz_support.h"

namespace {

// Only the two required operations: every edit goes through the whole-text fallbacks.
class WholeTextView : public quillet::TextView {
public:
    std::string value;
    std::string text() const override { return value; }
    void setText(std::string_view t) override { value.assign(t); }
};

} // namespace

// Input: case byte, tag length byte, tag, then document and text split at a byte's value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillet;
    if (size < 3)
        return 0;
    const auto option = static_cast<CaseOption>(data[0] % 3);
    auto rest = fuzz::bytes(data + 3, size - 3);
    const std::size_t tagLength = std::min<std::size_t>(data[1] % 8, rest.size());
    const auto tag = rest.substr(0, tagLength);
    rest.remove_prefix(tagLength);
    const std::size_t cut = std::min<std::size_t>(data[2], rest.size());
    const auto document = rest.substr(0, cut);
    const auto text = rest.substr(cut);

    StringTextView inPlace{std::string(document)};
    WholeTextView whole;
    whole.value = document;
    insertTagged(inPlace, tag, text, option);
    insertTagged(whole, tag, text, option);
    fuzz::require(inPlace.str() == whole.value, "in-place edits equal whole-text edits");

    const std::string content = applyCaseOption(text, option);
    const std::string closing = closingMarker(tag);
    const auto at = document.find(closing);
    std::string expected(document);
    if (at != std::string_view::npos) {
        expected.insert(at, "\r\n\r\n" + content);
    } else {
        const bool lineEnded = document.empty() || document.ends_with("\r\n");
        expected += lineEnded ? "" : "\r\n";
        expected += openingMarker(tag) + content + closing + "\r\n";
        if (lineEnded)
            expected += "\r\n";
    }
    fuzz::require(inPlace.str() == expected, "merge before the first closing marker or append");
    return 0;
}
