#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Unicode code point of a Windows-1252 byte. The five bytes the code page leaves
// undefined map to the C1 control of the same value, so every byte has one.
char32_t cp1252ToUnicode(unsigned char byte);

// Windows-1252 byte of a code point, or '?' for a character the code page lacks.
char unicodeToCp1252(char32_t codePoint);

// The UTF-8 encoding of a Windows-1252 text; never fails, drops nothing.
std::string convertToUtf8(std::string_view text);

// Appends the UTF-8 encoding of `text` to `out`.
void appendUtf8(std::string_view text, std::string& out);

// The Windows-1252 text of UTF-8, as a capture takes text: a character the code page lacks
// becomes "?", and so does each byte that is no part of a well-formed character. Line
// breaks stay as they are.
std::string utf8ToCp1252(std::string_view utf8);

} // namespace quillet
