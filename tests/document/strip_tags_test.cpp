#include "document/strip_tags.h"
#include "support/literal_rules.h"
#include "support/notation.h"

#include <gtest/gtest.h>

#include <random>

namespace quillet {
namespace {

using test::doc;
using test::shown;

struct StripCase {
    const char* name;
    const char* before;
    const char* after;
    bool insideRule; // false: the literal rule would never end on this text
};

// Names the row in test names and failure messages.
void PrintTo(const StripCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const StripCase stripCases[] = {
    {"TwoSections", "{TITEL}t{/TITEL}⏎⏎{TEXT}body{/TEXT}⏎⏎", "t⏎⏎body⏎⏎", true},
    {"EmptyLinesInContent", "{TEXT}line1⏎⏎line2{/TEXT}⏎⏎", "line1⏎⏎line2⏎⏎", true},
    {"UserTag", "{8}x{/8}⏎⏎free text⏎", "x⏎⏎free text⏎", true},
    {"Nested", "a{b{c}d}e", "ad}e", true},
    {"NoBraces", "text without braces", "text without braces", true},
    {"Empty", "", "", true},
    {"ClosingBraceAfterLastSpan", "{a}b}c", "b}c", true},
    {"EmptySpan", "x{}y", "xy", true},
    {"StrayClosingFirst", "a}b{c}d", "a}bd", false},
    {"StrayClosingBetween", "{a}x}y{b}z", "x}yz", false},
    {"UnclosedKept", "a{b}c{d", "ac{d", false},
    {"UnclosedAlone", "{", "{", false},
    {"OnlyClosing", "}}", "}}", true},
};
// clang-format on

class StripTagsTable : public testing::TestWithParam<StripCase> {};

TEST_P(StripTagsTable, GivesTheResult) {
    const StripCase& c = GetParam();
    const std::string input = doc(c.before);
    EXPECT_EQ(shown(stripTags(input)), shown(doc(c.after)));
    const auto literal = literal::stripTags(input);
    EXPECT_EQ(literal.has_value(), c.insideRule);
    if (literal) {
        EXPECT_EQ(shown(*literal), shown(doc(c.after)));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, StripTagsTable, testing::ValuesIn(stripCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StripTags, AgreesWithTheRuleAndStreamsOnRandomTexts) {
    const std::string alphabet("{}ab\r\n\0", 7);
    std::mt19937 rng(42);
    for (int round = 0; round < 20000; ++round) {
        std::string text(rng() % 30, ' ');
        for (char& c : text)
            c = alphabet[rng() % alphabet.size()];
        const std::string out = stripTags(text);
        // What is left of a span that never closed is the only "{" that may remain: the
        // input's tail from that brace on, with no "}" in it.
        if (const auto brace = out.find('{'); brace != std::string::npos) {
            const std::string tail = out.substr(brace);
            ASSERT_TRUE(text.ends_with(tail)) << shown(text);
            ASSERT_EQ(tail.find('}'), std::string::npos) << shown(text);
        }
        if (const auto literal = literal::stripTags(text)) {
            ASSERT_EQ(shown(out), shown(*literal)) << shown(text);
        }

        StripTagsStream stream;
        std::string pieces;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t len = std::min<std::size_t>(1 + rng() % 4, text.size() - at);
            stream.feed(std::string_view(text).substr(at, len), pieces);
            at += len;
        }
        stream.finish(pieces);
        ASSERT_EQ(shown(pieces), shown(out)) << shown(text);
    }
}

TEST(StripTags, AMillionSpansInOnePass) {
    std::string text;
    for (int i = 0; i < 1000000; ++i)
        text += "{T}x";
    EXPECT_EQ(stripTags(text), std::string(1000000, 'x'));
}

} // namespace
} // namespace quillet
