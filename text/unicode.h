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

} // namespace quillet
