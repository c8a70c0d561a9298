#include "support/notation.h"
#include "text/display_text.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::shown;

std::u16string toDisplayUtf16(std::string_view document) {
    std::u16string out(document.size(), u'\0');
    out.resize(quillet::toDisplayUtf16(document, out.data()));
    return out;
}

TEST(DisplayText, DocumentToDisplayAndBack) {
    const struct {
        std::string document;
        std::u16string display;
    } rows[] = {
        {"", u""},
        {"a\r\nb\r\n", u"a\nb\n"},
        {"\x80\xE4\x81", u"\u20AC\u00E4\u0081"},
        {std::string("x\0y", 3), std::u16string(u"x\0y", 3)},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(toDisplayUtf16(r.document), r.display) << shown(r.document);
        EXPECT_EQ(shown(documentTextFromUtf16(r.display)), shown(r.document)) << shown(r.document);
    }
}

TEST(DisplayText, EveryLineBreakBecomesCrLfAndForeignCharactersQuestionMarks) {
    const struct {
        std::u16string display;
        std::string document;
    } rows[] = {
        {u"a\rb", "a\r\nb"},
        {u"a\r\nb\nc", "a\r\nb\r\nc"},
        {u"a\u2029b\u2028c", "a\r\nb\r\nc"},
        {u"\u4E2D\U0001F600!", "?"
                               "?!"},
        {u"\xD83D"
         "a\xDE00",
         "?a?"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(shown(documentTextFromUtf16(r.display)), shown(r.document));
}

// Where the control counts two units for one byte: the text view maps positions by them.
TEST(DisplayText, ListsTheCharactersOfTwoUnits) {
    std::vector<std::size_t> pairs{99};
    const std::string document =
        documentTextFromUtf16(u"\U0001F600a\n\U0001F44D\U0001F3FD\xD83D!", &pairs);
    EXPECT_EQ(shown(document), "?a\\r\\n??"
                               "?!");
    EXPECT_EQ(pairs, (std::vector<std::size_t>{0, 4, 5}));
}

} // namespace
} // namespace quillet
