#include "batch/xml_export.h"

#include "batch/output_folder.h"
#include "batch/record_writers.h"
#include "files/text_file.h"
#include "text/cp1252.h"
#include "text/display_text.h"

#include <cstring>
#include <new>

namespace quillet {

namespace {

constexpr std::string_view CrLf = "\r\n";

// What a byte of a field's content turns into, when not into its own UTF-8 encoding.
constexpr std::array<const char*, 256> ContentReplacement = [] {
    std::array<const char*, 256> t{};
    for (int c = 0; c < 0x20; ++c)
        if (c != '\t' && c != '\r' && c != '\n')
            t[c] = " ";
    t['&'] = "&amp;";
    t['<'] = "&lt;";
    t['>'] = "&gt;";
    return t;
}();

void appendContent(std::string_view content, std::string& out) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char* replacement = ContentReplacement[static_cast<unsigned char>(content[i])];
        if (replacement == nullptr)
            continue;
        appendUtf8(content.substr(runStart, i - runStart), out);
        out += replacement;
        runStart = i + 1;
    }
    appendUtf8(content.substr(runStart), out);
}

} // namespace

void appendXmlRecord(std::string_view text, long long id, std::string& out) {
    const FieldContents contents = findFieldContents(text);
    out += "<Daten>\r\n<ID>";
    out += std::to_string(id);
    out += "</ID>\r\n";
    for (std::size_t r = 0; r < XmlFields.size(); ++r) {
        if (!contents[r])
            continue;
        const std::string_view element = XmlFields[r].element;
        out += '<';
        out += element;
        out += '>';
        appendContent(*contents[r], out);
        out += "</";
        out += element;
        out += ">\r\n";
    }
    out += "</Daten>\r\n";
}

std::string xmlRecord(std::string_view fileText, long long id) {
    std::string out;
    appendXmlRecord(fileText, id, out);
    return out;
}

NativePath findSchemaTemplate(const NativePath& executableFolder) {
    const auto inFolder = [](std::string_view folder) {
        return joinPath(joinPath(folder, "XML_Vorlage"), "XML.xsd");
    };
    const NativePath beside = inFolder(executableFolder);
    const NativePath candidates[] = {
        beside,
        inFolder(joinPath(executableFolder, QUILLET_DATA_DIR_FROM_BIN)),
        inFolder(QUILLET_DATA_DIR),
    };
    for (const NativePath& candidate : candidates) {
        FileStatus status;
        if (statusOf(candidate, status) && status.regular)
            return candidate;
    }
    return beside;
}

namespace {

// The schema template copied beside the XML; without it the XML is still of use, so a
// missing template or a failed copy goes unreported.
void copySchema(const NativePath& schemaTemplate, const NativePath& copy) {
    const std::optional<std::string> schema = readFileBytes(schemaTemplate);
    if (schema)
        createNewFile(copy, *schema);
}

} // namespace

XmlExportResult exportRecords(ExportFormat format, const NativePath& sourceFolder,
                              const TextFileList& sourceList, const NativePath& targetFolder,
                              const NativePath& schemaTemplate, const XmlExportServices& s) {
    if (!isFolder(sourceFolder)) {
        s.boxes.showError(MessageSourceMissing);
        return {BatchOutcome::Refused, {}};
    }
    if (!isFolder(targetFolder)) {
        s.boxes.showError(MessageTargetMissing);
        return {BatchOutcome::Refused, {}};
    }

    const ExportFormatInfo& info = formatInfo(format);
    OutputFolder folder;
    const OutputFolder::Outcome claim =
        folder.claimNumbered(targetFolder, info.folder, 0, LastExportFolderNumber);
    if (claim == OutputFolder::Outcome::AllTaken) {
        s.boxes.showError(noExportFolderFreeMessage(format));
        return {BatchOutcome::Refused, {}};
    }
    const NativePath& exportFolder = folder.path();
    const bool withSchema = format == ExportFormat::Xml;
    const NativePath schemaCopy = exportFolder + nativeSeparator() + "XML.xsd";
    const NativePath outputPath = exportFolder + nativeSeparator() + std::string(info.file);
    if (withSchema && claim == OutputFolder::Outcome::Claimed)
        copySchema(schemaTemplate, schemaCopy);

    // Records go straight to a temporary file that gets the output's name only once the
    // export is complete, so memory stays at one file's worth and a failure leaves no output.
    const std::unique_ptr<RecordWriter> output = makeRecordWriter(format, outputPath);
    // A failed export leaves nothing behind: the schema alone is of no use.
    const auto giveUp = [&](std::string message) {
        output->cancel();
        if (withSchema && folder.claimed())
            removeFile(schemaCopy);
        folder.removeIfEmpty();
        s.failures.showGeneralError(message);
        return XmlExportResult{BatchOutcome::Failed, exportFolder};
    };
    if (!folder.claimed() || !output->open())
        return giveUp(cannotCreateMessage(outputPath));

    const int count = sourceList.count();
    s.progress.setMaximum(count);
    for (int i = 0; i < count; ++i) {
        const NativePath path = sourceList.selectedPath(i);
        const std::optional<std::string> text = readTextFile(path);
        if (!text)
            return giveUp(cannotOpenMessage(path));
        bool added = false;
        try {
            added = output->add(*text, i, sourceList.entries()[static_cast<std::size_t>(i)]);
        } catch (const std::bad_alloc&) {
            return giveUp(cannotOpenMessage(path));
        }
        if (!added)
            return giveUp(cannotCreateMessage(outputPath));
        s.progress.setPosition(i + 1);
    }
    if (!output->commit())
        return giveUp(cannotCreateMessage(outputPath));

    std::string done = exportDoneMessage(format);
    done += CrLf;
    done += documentTextFromUtf8(displayPath(exportFolder + nativeSeparator()));
    s.boxes.showInformation(done);
    return {BatchOutcome::Completed, exportFolder};
}

} // namespace quillet
