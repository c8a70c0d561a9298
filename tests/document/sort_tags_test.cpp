#include "document/sort_tags.h"
#include "support/literal_rules.h"
#include "support/notation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace quillet {
namespace {

using test::doc;
using test::shown;

struct SortCase {
    const char* name;
    const char* before;
    const char* after;
};

// Names the row in test names and failure messages.
void PrintTo(const SortCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const SortCase wellShaped[] = {
    {"TwoTags", "{TEXT}body{/TEXT}⏎⏎{TITEL}t{/TITEL}⏎⏎", "⏎⏎{TITEL}t{/TITEL}⏎⏎{TEXT}body{/TEXT}⏎⏎"},
    {"MediumAlone", "{MEDIUM}m{/MEDIUM}⏎⏎", "{MEDIUM}m{/MEDIUM}⏎⏎"},
    {"MediumFirstOthersLast", "{TEXT}b{/TEXT}⏎⏎{MEDIUM}m{/MEDIUM}⏎⏎{8}x{/8}⏎⏎free text⏎",
                              "{MEDIUM}m{/MEDIUM}⏎⏎{TEXT}b{/TEXT}⏎⏎{8}x{/8}⏎⏎free text⏎"},
    {"SecondSectionStays", "{TEXT}b{/TEXT}⏎⏎{TEXT}c{/TEXT}⏎⏎", "⏎⏎{TEXT}b{/TEXT}⏎⏎{TEXT}c{/TEXT}⏎⏎"},
    {"PlainText", "plain text", "⏎⏎plain text"},
    {"Empty", "", "⏎⏎"},
    {"FreeTextMovesBack", "{MEDIUM}m{/MEDIUM}⏎⏎free⏎⏎{TEXT}b{/TEXT}⏎⏎", "{MEDIUM}m{/MEDIUM}⏎⏎{TEXT}b{/TEXT}⏎⏎free⏎⏎"},
    {"ContentWithEmptyLines", "{TEXT}line1⏎⏎line2{/TEXT}⏎⏎{AUTOR}a{/AUTOR}⏎⏎",
                              "⏎⏎{AUTOR}a{/AUTOR}⏎⏎{TEXT}line1⏎⏎line2{/TEXT}⏎⏎"},
    {"SortedAgainGrows", "⏎⏎{TITEL}t{/TITEL}⏎⏎{TEXT}body{/TEXT}⏎⏎", "⏎⏎{TITEL}t{/TITEL}⏎⏎{TEXT}body{/TEXT}⏎⏎⏎⏎"},
    {"SectionAtEndOfText", "{TEXT}b{/TEXT}⏎⏎{TITEL}t{/TITEL}", "⏎⏎{TITEL}t{/TITEL}⏎⏎{TEXT}b{/TEXT}⏎⏎"},
    {"AllElevenReversed",
     "{QUELLE}q{/QUELLE}⏎⏎{TEXT}x{/TEXT}⏎⏎{THEMA}h{/THEMA}⏎⏎{SEITE}s{/SEITE}⏎⏎{AUTOR}a{/AUTOR}⏎⏎"
     "{A_DATUM}d{/A_DATUM}⏎⏎{E_DATUM}e{/E_DATUM}⏎⏎{UNTERTITEL}u{/UNTERTITEL}⏎⏎{TITEL}t{/TITEL}⏎⏎"
     "{OBERTITEL}o{/OBERTITEL}⏎⏎{MEDIUM}m{/MEDIUM}⏎⏎",
     "{MEDIUM}m{/MEDIUM}⏎⏎{OBERTITEL}o{/OBERTITEL}⏎⏎{TITEL}t{/TITEL}⏎⏎{UNTERTITEL}u{/UNTERTITEL}⏎⏎"
     "{E_DATUM}e{/E_DATUM}⏎⏎{A_DATUM}d{/A_DATUM}⏎⏎{AUTOR}a{/AUTOR}⏎⏎{SEITE}s{/SEITE}⏎⏎{THEMA}h{/THEMA}⏎⏎"
     "{TEXT}x{/TEXT}⏎⏎{QUELLE}q{/QUELLE}⏎⏎"},
};

// Hand-edited documents: what we chose to do with them, never a lost byte.
const SortCase damaged[] = {
    {"ClosingMissing", "{TEXT}b⏎⏎{TITEL}t{/TITEL}⏎⏎", "⏎⏎{TITEL}t{/TITEL}⏎⏎{TEXT}b⏎⏎"},
    {"ClosingBeforeOpening", "{/TEXT}x{TEXT}b{/TEXT}⏎⏎", "⏎⏎{TEXT}b{/TEXT}⏎⏎{/TEXT}x"},
    {"NoEmptyLineBehind", "{TEXT}b{/TEXT}rest", "⏎⏎{TEXT}b{/TEXT}⏎⏎rest"},
    {"OneLineBreakBehind", "{TEXT}b{/TEXT}⏎x", "⏎⏎{TEXT}b{/TEXT}⏎⏎⏎x"},
    {"Nested", "{TEXT}a{TITEL}t{/TITEL}b{/TEXT}⏎⏎", "⏎⏎{TITEL}t{/TITEL}⏎⏎{TEXT}ab{/TEXT}⏎⏎"},
    {"OnlyClosingMarkers", "{/MEDIUM}{/TEXT}", "⏎⏎{/MEDIUM}{/TEXT}"},
};
// clang-format on

class SortWellShaped : public testing::TestWithParam<SortCase> {};
class SortDamaged : public testing::TestWithParam<SortCase> {};

TEST_P(SortWellShaped, GivesTheRuleResult) {
    const SortCase& c = GetParam();
    EXPECT_EQ(shown(sortTags(doc(c.before))), shown(doc(c.after)));
    EXPECT_EQ(shown(literal::sortTags(doc(c.before))), shown(doc(c.after)));
}

TEST_P(SortDamaged, KeepsEveryByte) {
    const SortCase& c = GetParam();
    EXPECT_EQ(shown(sortTags(doc(c.before))), shown(doc(c.after)));
}

auto caseName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Rows, SortWellShaped, testing::ValuesIn(wellShaped), caseName);
INSTANTIATE_TEST_SUITE_P(Rows, SortDamaged, testing::ValuesIn(damaged), caseName);

std::string sortedBytes(std::string s) {
    std::sort(s.begin(), s.end());
    return s;
}

TEST(SortTags, NeverLosesAByteOfAnyText) {
    const std::string pieces[] = {"{TEXT}",   "{/TEXT}", "{MEDIUM}", "{/MEDIUM}", "{TITEL}",
                                  "{/TITEL}", "\r\n",    "\r\n\r\n", "x",         "{"};
    std::mt19937 rng(7);
    for (int round = 0; round < 20000; ++round) {
        std::string input;
        const int n = static_cast<int>(rng() % 10);
        for (int i = 0; i < n; ++i)
            input += pieces[rng() % std::size(pieces)];
        const std::string out = sortTags(input);
        ASSERT_GE(out.size(), input.size()) << shown(input);
        ASSERT_EQ((out.size() - input.size()) % 4, 0u) << shown(input);
        std::string expected = input;
        for (std::size_t k = 0; k < (out.size() - input.size()) / 4; ++k)
            expected += "\r\n\r\n";
        ASSERT_EQ(sortedBytes(out), sortedBytes(expected)) << shown(input);
    }
}

} // namespace
} // namespace quillet
