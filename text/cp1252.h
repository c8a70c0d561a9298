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

} // namespace quillet
