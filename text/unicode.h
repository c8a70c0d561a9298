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

// A UTF-8 text as UTF-16; each byte that is no part of valid UTF-8 becomes U+FFFD.
std::u16string toUtf16(std::string_view utf8);

// Unicode's simple case folding of one code point: what a comparison without regard to
// case compares.
char32_t foldCase(char32_t codePoint);

// Folds every character of a UTF-16 text in place; a pair of surrogates stays a pair.
void foldCase(std::u16string& text);

} // namespace quillet
