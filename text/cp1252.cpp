#include "text/cp1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace quillet {

namespace {

// clang-format off
constexpr std::array<char16_t, 32> HighHalf{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
// clang-format on

constexpr char16_t codePoint(unsigned byte) {
    return (byte >= 0x80 && byte < 0xA0) ? HighHalf[byte - 0x80] : static_cast<char16_t>(byte);
}

// Each byte's UTF-8 form, precomputed: up to three bytes and their count.
struct Encoded {
    char bytes[3];
    std::uint8_t length;
};

constexpr std::array<Encoded, 256> Utf8Table = [] {
    std::array<Encoded, 256> t{};
    for (unsigned b = 0; b < 256; ++b) {
        const unsigned u = codePoint(b);
        Encoded& e = t[b];
        if (u < 0x80) {
            e.bytes[0] = static_cast<char>(u);
            e.length = 1;
        } else if (u < 0x800) {
            e.bytes[0] = static_cast<char>(0xC0 | (u >> 6));
            e.bytes[1] = static_cast<char>(0x80 | (u & 0x3F));
            e.length = 2;
        } else {
            e.bytes[0] = static_cast<char>(0xE0 | (u >> 12));
            e.bytes[1] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            e.bytes[2] = static_cast<char>(0x80 | (u & 0x3F));
            e.length = 3;
        }
    }
    return t;
}();

bool hasHighByte(std::uint64_t word) {
    return (word & 0x8080808080808080ULL) != 0;
}

} // namespace

char32_t cp1252ToUnicode(unsigned char byte) {
    return codePoint(byte);
}

char unicodeToCp1252(char32_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (unsigned i = 0; i < HighHalf.size(); ++i)
        if (HighHalf[i] == u)
            return static_cast<char>(0x80 + i);
    return '?';
}

void appendUtf8(std::string_view text, std::string& out) {
    const std::size_t base = out.size();
    out.resize(base + text.size() * 3);
    char* dst = out.data() + base;
    const char* src = text.data();
    const char* end = src + text.size();
    while (src < end) {
        // Plain ASCII, the bulk of most texts, is copied eight bytes at a time.
        if (end - src >= 8) {
            std::uint64_t word;
            std::memcpy(&word, src, 8);
            if (!hasHighByte(word)) {
                std::memcpy(dst, src, 8);
                src += 8;
                dst += 8;
                continue;
            }
        }
        const Encoded& e = Utf8Table[static_cast<unsigned char>(*src++)];
        std::memcpy(dst, e.bytes, 3);
        dst += e.length;
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
}


std::string convertToUtf8(std::string_view text) {
    std::string out;
    appendUtf8(text, out);
    return out;
}

} // namespace quillet
