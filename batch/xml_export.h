#pragma once

#include "batch/batch_outcome.h"
#include "batch/export_formats.h"
#include "batch/file_list.h"
#include "batch/record_fields.h"
#include "services/services.h"

#include <array>
#include <string>
#include <string_view>

namespace quillet {

inline constexpr std::string_view XmlDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";
inline constexpr std::string_view XmlRootStart =
    R"(<dataroot xmlns:od="urn:schemas-microsoft-com:officedata" )"
    R"(xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"  )"
    R"(xsi:noNamespaceSchemaLocation="XML.xsd">)";
inline constexpr std::string_view XmlRootEnd = "</dataroot>";

inline constexpr std::string_view MessageSourceMissing = "Quellverzeichnis existiert nicht!";
inline constexpr std::string_view MessageTargetMissing = "Zielverzeichnis existiert nicht!";
inline constexpr std::string_view MessageNoExportFolderFree =
    "Im Zielverzeichnis sind alle Ordnernamen von XML0 bis XML1000 bereits vergeben!";
inline constexpr std::string_view MessageExportDone =
    "Die XML-Daten wurden im folgenden Verzeichnis gespeichert: ";

// Appends the `Daten` record of one file, as UTF-8 lines each ended by CR LF. The text is
// the file's Windows-1252 text with CR LF line breaks. A field holds what lies between the
// first opening and the first closing marker of its tag, empty when that closing marker
// does not stand behind the opening one. In the content "&", "<" and ">" become entities
// and control bytes that XML 1.0 does not allow become spaces.
void appendXmlRecord(std::string_view fileText, long long id, std::string& out);
std::string xmlRecord(std::string_view fileText, long long id);

// The schema template: beside the executable first, then in the installed data folder.
// The first candidate when neither exists, so that the copy fails quietly.
NativePath findSchemaTemplate(const NativePath& executableFolder);

struct XmlExportServices {
    ProgressBar& progress;
    MessageBoxes& boxes;
    FailureReporter& failures;
};

struct XmlExportResult {
    BatchOutcome outcome;
    NativePath exportFolder; // empty until one was chosen
};

// Exports every file of the source list as one record into the format's file in a new
// folder of the target folder, XML<n> for XML (with a copy of the schema template beside
// XML.xml), CSV<n>, JSONL<n> or SQLite<n> for the others, claimed for this export alone.
// The file appears only when the export is complete; a failed export takes its folder
// away again.
XmlExportResult exportRecords(ExportFormat format, const NativePath& sourceFolder,
                              const TextFileList& sourceList, const NativePath& targetFolder,
                              const NativePath& schemaTemplate, const XmlExportServices& services);

inline XmlExportResult exportToXml(const NativePath& sourceFolder, const TextFileList& sourceList,
                                   const NativePath& targetFolder, const NativePath& schemaTemplate,
                                   const XmlExportServices& services) {
    return exportRecords(ExportFormat::Xml, sourceFolder, sourceList, targetFolder, schemaTemplate,
                         services);
}

} // namespace quillet
