#include "capture/capture_table.h"
#include "capture/tagged_insertion.h"
#include "document/sort_tags.h"
#include "document/tags.h"
#include "support/literal_rules.h"
#include "support/notation.h"

#include <gtest/gtest.h>

#include <random>

namespace quillet {
namespace {

using test::doc;
using test::shown;

struct InsertCase {
    const char* name;
    const char* before;
    const char* tag;
    const char* text;
    CaseOption option;
    const char* after;
};

// Names the row in test names and failure messages.
void PrintTo(const InsertCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const InsertCase insertCases[] = {
    {"EmptyDocumentNewSection", "", "TEXT", "X", CaseOption::Normal, "{TEXT}X{/TEXT}⏎⏎"},
    {"SecondCaptureMerges", "{TEXT}X{/TEXT}⏎⏎", "TEXT", "Y", CaseOption::Normal, "{TEXT}X⏎⏎Y{/TEXT}⏎⏎"},
    {"FirstOfTwoSectionsOnly", "{A}1{/A}⏎⏎{A}2{/A}⏎⏎", "A", "3", CaseOption::Normal, "{A}1⏎⏎3{/A}⏎⏎{A}2{/A}⏎⏎"},
    {"ClosingMarkerWithoutOpening", "x{/TEXT}y", "TEXT", "Z", CaseOption::Normal, "x⏎⏎Z{/TEXT}y"},
    {"OpeningMarkerAloneDoesNotCount", "{TEXT}x⏎", "TEXT", "Z", CaseOption::Normal, "{TEXT}x⏎{TEXT}Z{/TEXT}⏎⏎"},
    {"UnterminatedLastLine", "typed", "TITEL", "t", CaseOption::Normal, "typed⏎{TITEL}t{/TITEL}⏎"},
    {"LowerCaseKeepsMarkers", "", "TITEL", "ABC D", CaseOption::Lower, "{TITEL}abc d{/TITEL}⏎⏎"},
    {"UpperCaseLeavesUmlauts", "", "T", "\xE4\xF6\xFC\xDF x", CaseOption::Upper, "{T}\xE4\xF6\xFC\xDF X{/T}⏎⏎"},
    {"LowerCaseLeavesUmlauts", "", "T", "\xC4\xD6\xDC X", CaseOption::Lower, "{T}\xC4\xD6\xDC x{/T}⏎⏎"},
    {"TextEndingInLineBreak", "", "TEXT", "a⏎", CaseOption::Normal, "{TEXT}a⏎{/TEXT}⏎⏎"},
    {"EmptyTextNewSection", "", "TEXT", "", CaseOption::Normal, "{TEXT}{/TEXT}⏎⏎"},
    {"EmptyTextMerge", "{TEXT}a{/TEXT}⏎⏎", "TEXT", "", CaseOption::Normal, "{TEXT}a⏎⏎{/TEXT}⏎⏎"},
    {"EmptyTagName", "{}a{/}⏎⏎", "", "b", CaseOption::Normal, "{}a⏎⏎b{/}⏎⏎"},
    {"LowerCaseNameIsOtherTag", "{TEXT}a{/TEXT}⏎⏎", "text", "b", CaseOption::Normal, "{TEXT}a{/TEXT}⏎⏎{text}b{/text}⏎⏎"},
    {"ContentHoldingClosingMarker", "{T}a{/T}b{/T}⏎⏎", "T", "c", CaseOption::Normal, "{T}a⏎⏎c{/T}b{/T}⏎⏎"},
};
// clang-format on

class InsertTaggedTable : public testing::TestWithParam<InsertCase> {};

TEST_P(InsertTaggedTable, GivesTheDocument) {
    const InsertCase& c = GetParam();
    StringTextView view(doc(c.before));
    insertTagged(view, c.tag, doc(c.text), c.option);
    EXPECT_EQ(shown(view.str()), shown(doc(c.after)));
}

INSTANTIATE_TEST_SUITE_P(Rows, InsertTaggedTable, testing::ValuesIn(insertCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InsertTagged, BuildsTheExampleDocument) {
    StringTextView view;
    insertTagged(view, "TITEL", "Das ist ein Demonstrationstitel", CaseOption::Normal);
    insertTagged(view, "TEXT", "Dieser Text war zuerst da.", CaseOption::Normal);
    insertTagged(view, "TEXT", "Dann kam dieser Satz hinzu.", CaseOption::Normal);
    EXPECT_EQ(view.str(), doc("{TITEL}Das ist ein Demonstrationstitel{/TITEL}⏎⏎"
                              "{TEXT}Dieser Text war zuerst da.⏎⏎"
                              "Dann kam dieser Satz hinzu.{/TEXT}⏎⏎"));
}

TEST(InsertTagged, KeepsNulBytesOfTheCapture) {
    StringTextView view;
    insertTagged(view, "T", std::string_view("a\0b", 3), CaseOption::Upper);
    EXPECT_EQ(view.str(), std::string("{T}A\0B{/T}\r\n\r\n", 14));
}

// A view that only offers the two required operations must give the same documents as
// one that edits in place.
class WholeTextView : public TextView {
public:
    std::string value;
    std::string text() const override { return value; }
    void setText(std::string_view t) override { value.assign(t); }
};

TEST(InsertTagged, WholeTextFallbacksAgreeWithInPlaceEdits) {
    WholeTextView whole;
    StringTextView inPlace;
    for (const InsertCase& c : insertCases) {
        whole.value = doc(c.before);
        inPlace.setText(doc(c.before));
        insertTagged(whole, c.tag, doc(c.text), c.option);
        insertTagged(inPlace, c.tag, doc(c.text), c.option);
        EXPECT_EQ(whole.value, inPlace.str()) << c.name;
    }
}

TEST(AppendLine, FollowsTheLineRule) {
    const struct {
        const char* before;
        const char* line;
        const char* after;
    } rows[] = {
        {"", "x", "x⏎"},       {"a⏎", "x", "a⏎x⏎"}, {"a", "x", "a⏎x"},
        {"a\r", "x", "a\r⏎x"}, {"a⏎", "", "a⏎⏎"},
    };
    for (const auto& r : rows) {
        StringTextView view(doc(r.before));
        appendLine(view, doc(r.line));
        EXPECT_EQ(shown(view.str()), shown(doc(r.after))) << shown(doc(r.before));
    }
}

TEST(CaptureTable, RowsMatchTheirIdentifiersAndKeys) {
    const auto& table = captureTable();
    for (int id = 1; id <= CaptureRowCount; ++id)
        EXPECT_EQ(findCaptureRow(id)->id, id);
    EXPECT_EQ(findCaptureRow(0), nullptr);
    EXPECT_EQ(findCaptureRow(17), nullptr);
    // Key 2 is identifier 12 and key 1 identifier 13; F8 and F9 carry no modifier.
    EXPECT_EQ(table[11].virtualKey, 0x32u);
    EXPECT_EQ(table[12].virtualKey, 0x31u);
    EXPECT_EQ(table[7].modifiers, 0u);
    EXPECT_EQ(table[14].modifiers, ModControl);
    int startChecked = 0;
    for (const CaptureRow& r : table)
        startChecked += r.checkedAtStart ? 1 : 0;
    EXPECT_EQ(startChecked, 13);
    EXPECT_EQ(openingMarker("8"), "{8}");
    EXPECT_EQ(closingMarker(""), "{/}");
}

// Documents built by capture, in any order of keys and with free text between them, must
// sort exactly as the rule does; any text at all must come out as a permutation of its
// bytes plus the separators the sort adds.
TEST(SortTags, CaptureBuiltDocumentsFollowTheRule) {
    const std::string_view tags[] = {"MEDIUM", "TITEL", "TEXT",  "AUTOR",  "QUELLE",
                                     "SEITE",  "8",     "THEMA", "E_DATUM"};
    std::mt19937 rng(99);
    for (int round = 0; round < 3000; ++round) {
        StringTextView view;
        const int captures = static_cast<int>(rng() % 12);
        for (int i = 0; i < captures; ++i) {
            std::string text(1 + rng() % 3, 'a' + static_cast<char>(rng() % 26));
            if (rng() % 4 == 0)
                text += "\r\n\r\nmore";
            if (rng() % 5 == 0) {
                appendLine(view, text);
                appendLine(view, "");
            } else {
                insertTagged(view, tags[rng() % std::size(tags)], text, CaseOption::Normal);
            }
        }
        const std::string input = view.str();
        ASSERT_EQ(shown(sortTags(input)), shown(literal::sortTags(input))) << shown(input);
    }
}

} // namespace
} // namespace quillet
