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
    };
    for (const auto& r : rows)
        EXPECT_EQ(shown(toDocumentText(r.display)), shown(r.document));
}

} // namespace
} // namespace quillet
