#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Document bytes (Windows-1252, CR LF) as the text a Qt control shows (Unicode, "\n").
QString toDisplayText(std::string_view document);

// The text of a Qt control as document bytes: every line break, "\n", "\r\n" or a lone
// "\r", becomes CR LF; a character Windows-1252 lacks becomes "?".
std::string toDocumentText(QStringView display);

// As above, and lists in order the document positions of the "?" that stand for a
// character outside the Basic Multilingual Plane: there the control counts two UTF-16
// units for one document byte.
std::string toDocumentText(QStringView display, std::vector<std::size_t>& pairPositions);

// The same rule for text in UTF-16 without Qt; `pairPositions`, when given, as above.
std::string documentTextFromUtf16(std::u16string_view display,
                                  std::vector<std::size_t>* pairPositions = nullptr);

// The same rule for text in UTF-8; a byte that is no part of valid UTF-8 becomes "?".
std::string documentTextFromUtf8(std::string_view display);

} // namespace quillet
