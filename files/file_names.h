#pragma once

#include "files/file_system.h"

#include <string>
#include <string_view>

namespace quillet {

// Any text in UTF-8 as it may stand inside one file or folder name: every character that no
// file system on the supported platforms accepts there becomes "-", so that a path
// separator in it can never lead into another folder.
NativePath fileNameSafeText(std::string text);

// A date text (Windows-1252) inside a file or folder name, by the same rule. Some regional
// settings write dates with slashes, which would otherwise turn into folders.
NativePath fileNameSafeDate(std::string_view date);

} // namespace quillet
