#include "support/notation.h"
#include "text/display_text.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::shown;

TEST(QtText, DocumentToDisplayAndBack) {
    const struct {
        std::string document;
        QString display;
    } rows[] = {
        {"", ""},
        {"a\r\nb\r\n", "a\nb\n"},
        {"\x80\xE4\x81", QString::fromUtf16(u"\u20AC\u00E4\u0081")},
        {std::string("x\0y", 3), QString::fromUtf16(u"x\0y", 3)},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(toDisplayText(r.document), r.display) << shown(r.document);
        EXPECT_EQ(shown(toDocumentText(r.display)), shown(r.document)) << shown(r.document);
    }
}

TEST(QtText, EveryLineBreakBecomesCrLfAndForeignCharactersQuestionMarks) {
    const struct {
        QString display;
        std::string document;
    } rows[] = {
        {"a\rb", "a\r\nb"},
        {"a\r\nb\nc", "a\r\nb\r\nc"},
        {QString::fromUtf16(u"a\u2029b\u2028c"), "a\r\nb\r\nc"},
        {QString::fromUtf16(u"\u4E2D\U0001F600!"), "?"
                                                   "?!"},
        {QString::fromUtf16(u"\xD83D"
                            "a\xDE00"),
         "?a?"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(shown(toDocumentText(r.display)), shown(r.document));
}

// Where the control counts two units for one byte: the text view maps positions by them.
TEST(QtText, ListsTheCharactersOfTwoUnits) {
    std::vector<std::size_t> pairs{99};
    const std::string document =
        toDocumentText(QString::fromUtf16(u"\U0001F600a\n\U0001F44D\U0001F3FD\xD83D!"), pairs);
    EXPECT_EQ(shown(document), "?a\\r\\n??"
                               "?!");
    EXPECT_EQ(pairs, (std::vector<std::size_t>{0, 4, 5}));
}

} // namespace
} // namespace quillet
