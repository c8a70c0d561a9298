#include "document/clean_text.h"
#include "fuzz_support.h"
#include "support/literal_rules.h"

// The one-pass cleaning must equal the nine literal replacements, whole or in pieces, and
// give what the steps gave with "***" and "+++" as marks wherever no '*' or '+' occurs.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillet;
    const auto text = fuzz::bytes(data, size);
    const std::string expected = literal::cleanText(text);
    fuzz::require(cleanText(text) == expected, "CleanText equals the nine replacements");
    if (text.find_first_of("*+") == std::string_view::npos)
        fuzz::require(expected == literal::cleanTextWithTextMarks(std::string(text)),
                      "text without '*' and '+' cleans as it did with text marks");

    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    CleanTextStream stream;
    std::string pieces;
    stream.feed(text.substr(0, cut), pieces);
    stream.feed(text.substr(cut), pieces);
    stream.finish(pieces);
    fuzz::require(pieces == expected, "cleaning in two pieces equals cleaning at once");
    return 0;
}
