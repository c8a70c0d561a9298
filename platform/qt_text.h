#pragma once

#include "files/file_system.h"

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The core's text and paths as Qt's strings, for the windows and the backends.

// Document bytes (Windows-1252, CR LF) as the text a Qt control shows (Unicode, "\n").
QString toDisplayText(std::string_view document);

// The text of a Qt control as document bytes: every line break, "\n", "\r\n" or a lone
// "\r", becomes CR LF; a character Windows-1252 lacks becomes "?".
std::string toDocumentText(QStringView display);

// As above, and lists in order the document positions of the "?" that stand for a
// character outside the Basic Multilingual Plane: there the control counts two UTF-16
// units for one document byte.
std::string toDocumentText(QStringView display, std::vector<std::size_t>& pairPositions);

// The path that a text of the program (a folder field, a dialog's answer) names.
NativePath nativePath(const QString& path);

// A path or a name as a person can read it (displayPath).
QString shownPath(std::string_view path);

} // namespace quillet
