#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

// The length of the UTF-8 sequence at the start of `bytes`, 0 when it is not valid UTF-8
// (cut short, overlong, a surrogate, beyond U+10FFFF); its code point in `codePoint`.
std::size_t decodeUtf8(std::string_view bytes, char32_t& codePoint);

// Appends the UTF-8 encoding of one code point.
void appendCodePoint(char32_t codePoint, std::string& out);

// Calls `take` with each code point of `bytes` in order; a byte that is no part of valid
// UTF-8 is taken as `standIn(byte)`.
template <typename StandIn, typename Take>
void forEachCodePoint(std::string_view bytes, StandIn standIn, Take take) {
    while (!bytes.empty()) {
        char32_t codePoint = 0;
        std::size_t length = decodeUtf8(bytes, codePoint);
        if (length == 0) {
            codePoint = standIn(static_cast<unsigned char>(bytes.front()));
            length = 1;
        }
        take(codePoint);
        bytes.remove_prefix(length);
    }
}

// A UTF-8 text as UTF-16; each byte that is no part of valid UTF-8 becomes U+FFFD.
std::u16string toUtf16(std::string_view utf8);

// Unicode's simple case folding of one code point: what a comparison without regard to
// case compares.
char32_t foldCase(char32_t codePoint);

// Folds every character of a UTF-16 text in place; a pair of surrogates stays a pair.
void foldCase(std::u16string& text);

} // namespace quillet
