#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace quillet {

// Document bytes (Windows-1252, CR LF) as the text a Qt control shows (Unicode, "\n").
QString toDisplayText(std::string_view document);

// The text of a Qt control as document bytes: every line break, "\n", "\r\n" or a lone
// "\r", becomes CR LF; a character Windows-1252 lacks becomes "?".
std::string toDocumentText(const QString& display);

} // namespace quillet
