#include "text/unicode.h"

#include "text/case_folding_table.h"

#include <algorithm>

namespace quillet {

std::size_t decodeUtf8(std::string_view bytes, char32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint < 0xE000))
        return 0;
    return length;
}

void appendCodePoint(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    forEachCodePoint(
        utf8, [](unsigned char) { return char32_t{0xFFFD}; },
        [&](char32_t c) {
            if (c < 0x10000) {
                out += static_cast<char16_t>(c);
            } else {
                out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
                out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            }
        });
    return out;
}

char32_t foldCase(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    const auto& runs = casefolding::Runs;
    const auto after =
        std::upper_bound(runs.begin(), runs.end(), c,
                         [](char32_t x, const casefolding::Run& r) { return x < r.first; });
    if (after == runs.begin())
        return c;
    const casefolding::Run& run = *(after - 1);
    if (c > run.last || (c - run.first) % run.step != 0)
        return c;
    return static_cast<char32_t>(static_cast<int>(c) + run.delta);
}

void foldCase(std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            const char32_t pair = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            const char32_t folded = foldCase(pair) - 0x10000;
            text[i] = static_cast<char16_t>(0xD800 + (folded >> 10));
            text[++i] = static_cast<char16_t>(0xDC00 + (folded & 0x3FF));
        } else {
            text[i] = static_cast<char16_t>(foldCase(unit));
        }
    }
}

} // namespace quillet
