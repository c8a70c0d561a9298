#pragma once

#include "text/services.h"
#include "text/text_view.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// Turns every lone CR and every lone LF into CR LF; CR LF stays as it is.
void normalizeLineBreaks(std::string& text);

// The whole file as 8-bit text with its line breaks normalized; nothing when the file
// cannot be opened or read to its end.
std::optional<std::string> readTextFile(const QString& path);

// Loads a file into a text view, replacing its text. On failure the view keeps its text
// and the general error box says "Datei <path> kann nicht geöffnet werden".
bool loadTextFile(const QString& path, TextView& view, FailureReporter& failures);

enum class Creation { Written, AlreadyThere, Failed };

// Creates the file only if no file of that name exists at this very moment, so that a file
// another program wrote meanwhile is never overwritten. Anything but a folder counts as
// there, a dangling link included. A failed write removes the half-written file.
Creation createNewFile(const QString& path, std::string_view bytes);

// Writes the bytes as the whole content of the file, through a temporary file in the same
// folder that replaces the file only once it is complete: a failure leaves an old file
// as it was and no temporary file behind. Refuses a file that is write-protected.
bool replaceFile(const QString& path, std::string_view bytes);

// A new file is created directly, an existing one replaced as replaceFile() does.
bool writeFile(const QString& path, std::string_view bytes);

std::string cannotOpenMessage(const QString& path);
std::string cannotCreateMessage(const QString& path);

} // namespace quillet
