#include "document/strip_tags.h"
#include "fuzz_support.h"
#include "support/literal_rules.h"

// Where the removal rule is defined, the linear pass agrees with it; everywhere, it keeps
// an unclosed span whole and drops nothing else but brace spans.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillet;
    const auto text = fuzz::bytes(data, size);
    const std::string out = stripTags(text);
    fuzz::require(out.size() <= text.size(), "output is never longer");
    if (const auto brace = out.find('{'); brace != std::string::npos) {
        const std::string_view tail = std::string_view(out).substr(brace);
        fuzz::require(text.ends_with(tail), "an unclosed span is the input's own tail");
        fuzz::require(tail.find('}') == std::string_view::npos, "an unclosed span has no }");
    }
    if (size <= 4096) {
        if (const auto literal = literal::stripTags(std::string(text)))
            fuzz::require(out == *literal, "StripTags agrees with the rule");
    }
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    StripTagsStream stream;
    std::string pieces;
    stream.feed(text.substr(0, cut), pieces);
    stream.feed(text.substr(cut), pieces);
    stream.finish(pieces);
    fuzz::require(pieces == out, "stripping in two pieces equals stripping at once");
    return 0;
}
