#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

enum class ExportFormat { Xml, Csv, JsonLines, Sqlite };

// The numbered output folders run from 0 to this.
inline constexpr int LastExportFolderNumber = 1000;

// What tells the formats apart outside their records.
struct ExportFormatInfo {
    ExportFormat format;
    std::string_view option; // quillet-batch export --format
    std::string_view label;  // the choice on the page
    std::string_view folder; // the numbered output folder: folder + n
    std::string_view file;   // the output file in it
};

// XML first: it is the default everywhere.
inline constexpr std::array<ExportFormatInfo, 4> ExportFormats{{
    {ExportFormat::Xml, "xml", "XML", "XML", "XML.xml"},
    {ExportFormat::Csv, "csv", "CSV", "CSV", "Daten.csv"},
    {ExportFormat::JsonLines, "jsonl", "JSON Lines", "JSONL", "Daten.jsonl"},
    {ExportFormat::Sqlite, "sqlite", "SQLite", "SQLite", "Daten.sqlite"},
}};

const ExportFormatInfo& formatInfo(ExportFormat format);
// Whether this build can write the format (a build may be made without SQLite).
bool isFormatBuiltIn(ExportFormat format);
std::optional<ExportFormat> formatByOption(std::string_view option);

// The messages of an export, in the XML's words with the format's name.
std::string exportDoneMessage(ExportFormat format);
std::string noExportFolderFreeMessage(ExportFormat format);

} // namespace quillet
