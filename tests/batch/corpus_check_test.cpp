#include "batch/corpus_check.h"
#include "support/notation.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using namespace test;

struct CheckCase {
    const char* name;
    const char* text;
    std::vector<std::string> findings; // "LINE: message"
};

// clang-format off
const CheckCase checkCases[] = {
    {"CapturedDocument", "{TITEL}t{/TITEL}⏎⏎{TEXT}a⏎⏎b{/TEXT}⏎⏎", {}},
    {"UserTagGiven", "{8}x{/8}", {}},
    {"BracesInTextAreNoTags", "{TEXT}a } b{/TEXT}", {}},
    {"NoTagAtAll", "just text⏎", {"1: no tag in the file"}},
    {"OpenedNeverClosed", "{TITEL}t⏎{TEXT}a{/TEXT}",
     {"1: section {TITEL} is opened but never closed"}},
    {"ClosingWithoutOpening", "{TEXT}a{/TEXT}⏎{/AUTOR}",
     {"2: closing tag {/AUTOR} without its opening tag"}},
    {"ClosingBeforeOpening", "{/TITEL}⏎{TITEL}t",
     {"1: closing tag {/TITEL} without its opening tag", "2: section {TITEL} is opened but never closed"}},
    {"SectionInsideAnother", "{TEXT}a⏎{AUTOR}b{/AUTOR}{/TEXT}",
     {"2: section {AUTOR} inside section {TEXT} of line 1"}},
    {"InnerLeftOpenClosesWithOuter", "{TEXT}a{TITEL}b⏎{/TEXT}",
     {"1: section {TITEL} is opened but never closed"}},
    {"NestedTwoDeep", "{TEXT}{AUTOR}{SEITE}1{/SEITE}{/AUTOR}⏎{/TEXT}",
     {"1: section {SEITE} inside section {AUTOR} of line 1", "1: section {AUTOR} inside section {TEXT} of line 1"}},
    {"UnknownName", "{TEXT}a{/TEXT}{titel}x{/titel}",
     {"1: tag {titel} is not one of the program's tags", "1: tag {/titel} is not one of the program's tags"}},
    {"UnknownUserTagWithoutItsName", "{TEXT}a{/TEXT}⏎{9}b{/9}",
     {"2: tag {9} is not one of the program's tags", "2: tag {/9} is not one of the program's tags"}},
    {"LongUnknownTagCutShort", "{TEXT}a{/TEXT}{0123456789012345678901234567890123456789ABC}",
     {"1: tag {0123456789012345678901234567890123456789...} is not one of the program's tags"}},
    {"BraceNeverClosed", "{TEXT}a{/TEXT}⏎x { y",
     {"2: \"{\" without a \"}\" behind it: a tag removal keeps the rest of the file"}},
    {"SecondSectionOfExportedTag", "{TEXT}a{/TEXT}⏎{TEXT}b{/TEXT}",
     {"2: another section {TEXT}: an export takes only the one of line 1"}},
    {"LoneLineFeeds", "{TEXT}a\nb\r\nc\nd{/TEXT}",
     {"1: line break is a lone LF, not CR LF (2 in the file)"}},
    {"LoneReturnCountsAsLine", "{TEXT}a\rb\rc{/TEXT}\r\n{/X}",
     {"1: line break is a lone CR, not CR LF (2 in the file)", "4: tag {/X} is not one of the program's tags"}},
    {"UndefinedBytesOncePerLine", "{TEXT}\x81\x8D⏎ok⏎\x9D{/TEXT}",
     {"1: byte 0x81 has no character in Windows-1252", "3: byte 0x9D has no character in Windows-1252"}},
    {"ShownAsUtf8", "{M\xDC\x01}", {"1: tag {M\xC3\x9C?} is not one of the program's tags", "1: no tag in the file"}},
};
// clang-format on

class CheckTable : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckTable, FindsWhatIsWrong) {
    const CheckCase& c = GetParam();
    const std::vector<std::string> userTags{"8"};
    std::vector<std::string> found;
    for (const Finding& f : checkTaggedText(doc(c.text), userTags))
        found.push_back(std::to_string(f.line) + ": " + f.message);
    EXPECT_EQ(found, c.findings);
}

INSTANTIATE_TEST_SUITE_P(Rows, CheckTable, testing::ValuesIn(checkCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quillet
