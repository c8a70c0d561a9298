#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The records of the open formats: the XML's fields and two columns the XML lacks, the
// record number and the name of the file, in front of them. Texts come out as UTF-8.
inline constexpr std::string_view IdColumn = "ID";
inline constexpr std::string_view FileNameColumn = "FileName";

// CSV after RFC 4180: a byte order mark, so that spreadsheet programs take the text as
// UTF-8, then the header row; fields quoted where needed, every row ended by CR LF. A field
// whose tag does not occur is empty.
void appendCsvHeader(std::string& out);
// `fileText` is the file's Windows-1252 text with CR LF line breaks; `fileName` UTF-8.
void appendCsvRecord(std::string_view fileText, long long id, std::string_view fileName,
                     std::string& out);

// JSON Lines: one object per file on one line, ended by LF. A field whose tag does not
// occur is null; every control character is escaped.
void appendJsonRecord(std::string_view fileText, long long id, std::string_view fileName,
                      std::string& out);

} // namespace quillet
