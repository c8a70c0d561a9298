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

// UTF-16 text (a Windows clipboard's) as document bytes, by the rules of the text view:
// every line break ("\r\n", a lone "\r" or "\n", U+2028, U+2029) becomes CR LF, a character
// the code page lacks becomes "?", and so does a surrogate pair, or a lone surrogate.
std::string cp1252FromUtf16(std::u16string_view text);

} // namespace quillet
