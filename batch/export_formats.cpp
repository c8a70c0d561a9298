#include "batch/export_formats.h"

#include "batch/sqlite_records.h"

#include <algorithm>

namespace quillet {

const ExportFormatInfo& formatInfo(ExportFormat format) {
    return *std::find_if(ExportFormats.begin(), ExportFormats.end(),
                         [&](const ExportFormatInfo& f) { return f.format == format; });
}

bool isFormatBuiltIn(ExportFormat format) {
    return format != ExportFormat::Sqlite || SqliteRecords::builtIn();
}

std::optional<ExportFormat> formatByOption(std::string_view option) {
    for (const ExportFormatInfo& f : ExportFormats)
        if (f.option == option)
            return f.format;
    return std::nullopt;
}

std::string exportDoneMessage(ExportFormat format) {
    return "Die " + std::string(formatInfo(format).folder) +
           "-Daten wurden im folgenden Verzeichnis gespeichert: ";
}

std::string noExportFolderFreeMessage(ExportFormat format) {
    const std::string folder(formatInfo(format).folder);
    return "Im Zielverzeichnis sind alle Ordnernamen von " + folder + "0 bis " + folder +
           std::to_string(LastExportFolderNumber) + " bereits vergeben!";
}

} // namespace quillet
