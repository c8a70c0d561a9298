#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The document's bytes (Windows-1252, CR LF) and the text a control or a terminal shows
// (Unicode, "\n"), both ways. A control's toolkit wraps these in its own string type.

// Document bytes as shown text in UTF-8: CR LF, and a lone CR, become "\n".
std::string toDisplayUtf8(std::string_view document);

// The same in UTF-16, written to `out`, which has room for one unit per document byte;
// gives the number of units written.
std::size_t toDisplayUtf16(std::string_view document, char16_t* out);

// Shown text as document bytes: every line break, "\n", "\r\n" or a lone "\r" (and the
// paragraph and line separators a text control uses), becomes CR LF; a character that
// Windows-1252 lacks becomes "?". When `pairPositions` is given it receives in order the
// document positions of the "?" that stand for a character outside the Basic Multilingual
// Plane: there a control counting UTF-16 units counts two units for one document byte.
std::string documentTextFromUtf16(std::u16string_view display,
                                  std::vector<std::size_t>* pairPositions = nullptr);

// The same from UTF-8; a byte that is no part of valid UTF-8 becomes "?".
std::string documentTextFromUtf8(std::string_view display);

} // namespace quillet
