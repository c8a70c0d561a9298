#include "capture/html_format.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace quillet {
namespace {

// A block as browsers write it: the header with ten-digit offsets (or -1 for no HTML around
// the fragment), then the HTML, its fragment between the two comments.
std::string block(std::string_view lineBreak, std::string_view sourceLine, bool noContext = false) {
    const std::string html = "<html><body><!--StartFragment-->Ein Satz<!--EndFragment-->"
                             "</body></html>";
    const std::string br(lineBreak);
    const auto line = [&](const char* key, long long at) {
        char value[32];
        std::snprintf(value, sizeof value, "%s:%010lld", key, at);
        return std::string(at < 0 ? std::string(key) + ":-1" : value) + br;
    };
    // The offsets' lines keep their length, so a first pass gives where the HTML starts.
    std::string header;
    for (long long start = 0, pass = 0; pass < 2; ++pass, start = std::ssize(header)) {
        header = "Version:0.9" + br + line("StartHTML", noContext ? -1 : start) +
                 line("EndHTML", noContext ? -1 : start + std::ssize(html)) +
                 line("StartFragment", start + std::ssize(html.substr(0, html.find("-->") + 3))) +
                 line("EndFragment", start + std::ssize(html.substr(0, html.find("<!--End"))));
        if (!sourceLine.empty())
            header += std::string(sourceLine) + br;
    }
    return header + html;
}

std::string replaced(std::string text, std::string_view what, std::string_view with) {
    text.replace(text.find(what), what.size(), with);
    return text;
}

struct HtmlCase {
    const char* name;
    std::string data;
    std::string_view address;
};
void PrintTo(const HtmlCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string_view site = "https://example.org/a?b=1";
const std::string withSource = block("\r\n", "SourceURL:https://example.org/a?b=1");
// clang-format off
const HtmlCase htmlCases[] = {
    {"CrLf", withSource, site},
    {"Lf", block("\n", "SourceURL:https://example.org/a?b=1"), site},
    {"NoContext", block("\r\n", "SourceURL:https://example.org/a?b=1", true), site},
    {"WithoutSourceUrl", block("\r\n", ""), ""},
    {"OnlyInTheHtml", replaced(block("\r\n", ""), "Ein Satz", "\r\nSourceURL:http://b/\r\n"), ""},
    {"EndHtmlOutsideTheData", withSource.substr(0, withSource.size() - 1), ""},
    {"StartHtmlInsideTheHeader", replaced(withSource, "StartHTML:00000001", "StartHTML:00000000"), ""},
    {"FragmentBeforeTheHtml", replaced(withSource, "StartFragment:00000001", "StartFragment:00000000"), ""},
    {"FragmentEndsBeforeItStarts", replaced(withSource, "EndFragment:00000001", "EndFragment:00000000"), ""},
    {"NegativeOffset", replaced(withSource, "StartFragment:00000", "StartFragment:-0000"), ""},
    {"OffsetNotANumber", replaced(withSource, "EndHTML:0", "EndHTML:x"), ""},
    {"NoVersion", replaced(withSource, "Version:0.9", "Versi0n:0.9"), ""},
    {"HeaderOnly", "Version:0.9\r\nSourceURL:http://b/\r\n", ""},
    {"Empty", "", ""},
};
// clang-format on

class HtmlFormat : public testing::TestWithParam<HtmlCase> {};

TEST_P(HtmlFormat, GivesTheSourceUrlOfAHeaderThatFits) {
    EXPECT_EQ(htmlFormatSourceUrl(GetParam().data), GetParam().address);
}

INSTANTIATE_TEST_SUITE_P(Rows, HtmlFormat, testing::ValuesIn(htmlCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quillet
