#include "document/clean_text.h"
#include "support/literal_rules.h"
#include "support/notation.h"

#include <gtest/gtest.h>

#include <random>

namespace quillet {
namespace {

using test::doc;
using test::shown;

struct CleanCase {
    const char* name;
    const char* before;
    const char* after;
};

// Names the row in test names and failure messages.
void PrintTo(const CleanCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const CleanCase cleanCases[] = {
    {"Paragraphs", "Dies ist ein Bei-⏎spiel f\xFCr einen⏎Text.⏎⏎Zweiter Absatz - mit Strich.",
                   "Dies ist ein Bei-␣spiel f\xFCr einen Text.⏎⏎Zweiter Absatz - mit Strich."},
    {"ThreeBreaks", "a⏎⏎⏎b", "a⏎⏎␣b"},
    {"FourBreaks", "a⏎⏎⏎⏎b", "a⏎⏎⏎⏎b"},
    {"FiveBreaks", "a⏎⏎⏎⏎⏎b", "a⏎⏎⏎⏎␣b"},
    {"HyphenBeforeParagraph", "Wort-⏎⏎Next", "Wort⏎Next"},
    {"ThreeSpaces", "x␣␣␣y", "x␣␣y"},
    {"FourSpaces", "x␣␣␣␣y", "x␣␣y"},
    {"SpaceBeforeJoin", "word␣⏎word", "word␣word"},
    {"AsterisksStay", "a***b", "a***b"},
    {"PlusesStay", "a+++b", "a+++b"},
    {"SceneBreakStays", "Kapitel␣1␣***␣Kapitel␣2", "Kapitel␣1␣***␣Kapitel␣2"},
    {"PlusesBesideHyphens", "C+++␣and␣x+++y", "C+++␣and␣x+++y"},
    {"AsterisksBesideDashStay", "a**␣-␣b", "a**␣-␣b"},
    {"AsterisksBesideParagraph", "a**⏎⏎***b", "a**⏎⏎***b"},
    {"PlusesBesideHyphen", "x++-␣+y", "x++-␣+y"},
    {"DashAtLineStart", "eins⏎-␣zwei", "eins␣-␣zwei"},
    {"DashAtLineEnd", "Ende␣-⏎weiter", "Ende␣-␣weiter"},
    {"TrailingBreak", "Ende.⏎", "Ende.␣"},
    {"Empty", "", ""},
    {"LoneCrAndLf", "a\rb\nc", "a\rb\nc"},
    {"DoubleHyphenBeforeParagraph", "x--⏎⏎y", "x-⏎y"},
};
// clang-format on

class CleanTextTable : public testing::TestWithParam<CleanCase> {};

TEST_P(CleanTextTable, GivesTheResult) {
    const CleanCase& c = GetParam();
    EXPECT_EQ(shown(cleanText(doc(c.before))), shown(doc(c.after)));
    EXPECT_EQ(shown(literal::cleanText(doc(c.before))), shown(doc(c.after)));
}

INSTANTIATE_TEST_SUITE_P(Rows, CleanTextTable, testing::ValuesIn(cleanCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CleanText, SecondRunJoinsWhatTheFirstLeft) {
    EXPECT_EQ(cleanText(cleanText(doc("Wort-⏎⏎Next"))), "Wort Next");
}

// Texts made of the bytes the nine steps look at, so that every interplay of the steps
// comes up: the single pass must agree with the nine literal replacements, and feeding
// the text in pieces must not change the result. Where neither '*' nor '+' occurs, the
// result is also the one the steps gave when "***" and "+++" were their marks.
TEST(CleanText, AgreesWithTheNineReplacementsOnRandomTexts) {
    const std::string withMarks = std::string("\r\n -*+ax\r\n ", 11) + std::string(1, '\0');
    const std::string withoutMarks = std::string("\r\n -ax\r\n -") + std::string(1, '\0');
    std::mt19937 rng(1234);
    for (int round = 0; round < 20000; ++round) {
        const std::string& alphabet = round % 2 ? withMarks : withoutMarks;
        std::string text(rng() % 40, ' ');
        for (char& c : text)
            c = alphabet[rng() % alphabet.size()];
        const std::string expected = literal::cleanText(text);
        ASSERT_EQ(shown(cleanText(text)), shown(expected)) << shown(text);
        if (text.find_first_of("*+") == std::string::npos) {
            ASSERT_EQ(shown(expected), shown(literal::cleanTextWithTextMarks(text)));
        }

        CleanTextStream stream;
        std::string pieces;
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t len = std::min<std::size_t>(rng() % 5, text.size() - at);
            stream.feed(std::string_view(text).substr(at, len), pieces);
            at += len;
        }
        stream.finish(pieces);
        ASSERT_EQ(shown(pieces), shown(expected)) << shown(text);
    }
}

} // namespace
} // namespace quillet
