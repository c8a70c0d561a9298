#include "document/sort_tags.h"
#include "fuzz_support.h"

#include <array>

// Sorting, damaged documents included, only moves bytes and adds empty lines.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillet;
    const auto text = fuzz::bytes(data, size);
    const std::string out = sortTags(text);
    fuzz::require(out.size() >= text.size(), "nothing is lost");
    fuzz::require((out.size() - text.size()) % 4 == 0, "only whole separators are added");
    std::array<std::size_t, 256> counts{};
    for (unsigned char c : out)
        ++counts[c];
    for (unsigned char c : text)
        --counts[c];
    const std::size_t separators = (out.size() - text.size()) / 4;
    fuzz::require(counts['\r'] == 2 * separators && counts['\n'] == 2 * separators,
                  "the added bytes are CR LF CR LF");
    for (std::size_t b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            fuzz::require(counts[b] == 0, "every other byte keeps its count");
    return 0;
}
