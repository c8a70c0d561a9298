#include "support/notation.h"
#include "text/cp1252.h"

#include <gtest/gtest.h>

#include <random>

namespace quillet {
namespace {

using test::shown;

struct Utf8Case {
    const char* name;
    std::string in;
    std::string out;
};

// Names the row in test names and failure messages.
void PrintTo(const Utf8Case& c, std::ostream* os) {
    *os << c.name;
}

const Utf8Case utf8Cases[] = {
    {"Empty", "", ""},
    {"Ascii", "Text\r\nmit Zeilen\r\n", "Text\r\nmit Zeilen\r\n"},
    {"Nul", std::string(1, '\0'), std::string(1, '\0')},
    {"AUmlaut", "\xE4", "\xC3\xA4"},
    {"YDiaeresis", "\xFF", "\xC3\xBF"},
    {"NoBreakSpace", "\xA0", "\xC2\xA0"},
    {"Euro", "\x80", "\xE2\x82\xAC"},
    {"TradeMark", "\x99", "\xE2\x84\xA2"},
    {"EnDash", "\x96", "\xE2\x80\x93"},
    {"Undefined81", "\x81", "\xC2\x81"},
    {"Undefined8D", "\x8D", "\xC2\x8D"},
    {"Undefined8F", "\x8F", "\xC2\x8F"},
    {"Undefined90", "\x90", "\xC2\x90"},
    {"Undefined9D", "\x9D", "\xC2\x9D"},
    {"MixedAcrossWordBoundary", "abcdefg\xE4hijklmnop\x80", "abcdefg\xC3\xA4hijklmnop\xE2\x82\xAC"},
};

class ConvertToUtf8Table : public testing::TestWithParam<Utf8Case> {};

TEST_P(ConvertToUtf8Table, GivesTheBytes) {
    EXPECT_EQ(shown(convertToUtf8(GetParam().in)), shown(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(Rows, ConvertToUtf8Table, testing::ValuesIn(utf8Cases),
                         [](const auto& info) { return std::string(info.param.name); });

// Decodes UTF-8 that must be well-formed; fails the test otherwise.
std::u32string decodeUtf8(std::string_view s) {
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : 0;
        EXPECT_NE(len, 0) << "bad lead byte at " << i;
        if (len == 0 || i + static_cast<std::size_t>(len) > s.size())
            return out;
        char32_t u = len == 1 ? b : len == 2 ? (b & 0x1F) : (b & 0x0F);
        for (int k = 1; k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            EXPECT_EQ(c & 0xC0, 0x80);
            u = (u << 6) | (c & 0x3F);
        }
        // No overlong forms.
        EXPECT_TRUE(len == 1 || (len == 2 && u >= 0x80) || (len == 3 && u >= 0x800));
        out += u;
        i += static_cast<std::size_t>(len);
    }
    return out;
}

TEST(ConvertToUtf8, OutputDecodesToTheInputsCodePoints) {
    std::mt19937 rng(5);
    for (int round = 0; round < 2000; ++round) {
        std::string in(rng() % 64, '\0');
        for (char& c : in)
            c = static_cast<char>(rng() % 4 == 0 ? rng() % 128 : 128 + rng() % 128);
        std::u32string expected;
        for (unsigned char c : in)
            expected += cp1252ToUnicode(c);
        ASSERT_EQ(decodeUtf8(convertToUtf8(in)), expected);
    }
}

TEST(ConvertToUtf8, OutputLengthsByByteClass) {
    int one = 0, two = 0, three = 0;
    for (int b = 0; b < 256; ++b) {
        const auto size = convertToUtf8(std::string(1, static_cast<char>(b))).size();
        one += size == 1;
        two += size == 2;
        three += size == 3;
    }
    EXPECT_EQ(one, 128);
    EXPECT_EQ(two, 111);
    EXPECT_EQ(three, 17);
    const std::string threeByte =
        "\x80\x82\x84\x85\x86\x87\x89\x8B\x91\x92\x93\x94\x95\x96\x97\x99\x9B";
    EXPECT_EQ(convertToUtf8(threeByte + threeByte).size(), 3 * 2 * threeByte.size());
}

TEST(Cp1252, EveryByteRoundTripsAndUnknownCharactersBecomeQuestionMarks) {
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(static_cast<unsigned char>(
                      unicodeToCp1252(cp1252ToUnicode(static_cast<unsigned char>(b)))),
                  b);
    EXPECT_EQ(unicodeToCp1252(U'\u0100'), '?');
    EXPECT_EQ(unicodeToCp1252(U'\u4E2D'), '?');
    EXPECT_EQ(unicodeToCp1252(U'\U0001F600'), '?');
    EXPECT_EQ(unicodeToCp1252(U'\u20AC'), '\x80');
}

} // namespace
} // namespace quillet
