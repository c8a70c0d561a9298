#include "batch/xml_export.h"

#include "text/cp1252.h"
#include "text/display_text.h"
#include "text/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>

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

QString findSchemaTemplate(const QString& executableFolder) {
    const QString relative = QStringLiteral("XML_Vorlage/XML.xsd");
    const QString beside = QDir(executableFolder).filePath(relative);
    const QString candidates[] = {
        beside,
        QDir(QDir(executableFolder).filePath(QStringLiteral(QUILLET_DATA_DIR_FROM_BIN)))
            .filePath(relative),
        QDir(QStringLiteral(QUILLET_DATA_DIR)).filePath(relative),
    };
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    return beside;
}

namespace {

bool writeUtf8Line(QSaveFile& file, std::string_view asciiLine) {
    std::string line = convertToUtf8(asciiLine);
    line += CrLf;
    return file.write(line.data(), static_cast<qint64>(line.size())) ==
           static_cast<qint64>(line.size());
}

} // namespace

XmlExportResult exportToXml(const QString& sourceFolderText, const TextFileList& sourceList,
                            const QString& targetFolderText, const QString& schemaTemplate,
                            const XmlExportServices& s) {
    if (!QFileInfo(sourceFolderText).isDir()) {
        s.boxes.showError(MessageSourceMissing);
        return {BatchOutcome::Refused, {}};
    }
    if (!QFileInfo(targetFolderText).isDir()) {
        s.boxes.showError(MessageTargetMissing);
        return {BatchOutcome::Refused, {}};
    }

    QString exportFolder;
    for (int n = 0; n <= LastExportFolderNumber && exportFolder.isEmpty(); ++n) {
        const QString candidate =
            targetFolderText + QDir::separator() + QStringLiteral("XML") + QString::number(n);
        if (!QFileInfo(candidate).isDir()) {
            // A failure here shows when XML.xml cannot be created in it.
            QDir().mkdir(candidate);
            exportFolder = candidate;
        }
    }
    if (exportFolder.isEmpty()) {
        s.boxes.showError(MessageNoExportFolderFree);
        return {BatchOutcome::Refused, {}};
    }

    const QString schemaCopy = exportFolder + QDir::separator() + QStringLiteral("XML.xsd");
    QFile::remove(schemaCopy);
    QFile::copy(schemaTemplate, schemaCopy); // without the schema the XML is still of use

    // Records go straight to a temporary file that becomes XML.xml only once the export
    // is complete, so memory stays at one file's worth and a failure leaves no XML.xml.
    const QString xmlPath = exportFolder + QDir::separator() + QStringLiteral("XML.xml");
    QSaveFile xml(xmlPath);
    const auto cannotCreate = [&] {
        xml.cancelWriting();
        s.failures.showGeneralError(cannotCreateMessage(xmlPath));
        return XmlExportResult{BatchOutcome::Failed, exportFolder};
    };
    if (!xml.open(QIODevice::WriteOnly) || !writeUtf8Line(xml, XmlDeclaration) ||
        !writeUtf8Line(xml, XmlRootStart))
        return cannotCreate();

    const int count = sourceList.count();
    s.progress.setMaximum(count);
    std::string record;
    for (int i = 0; i < count; ++i) {
        const QString path = sourceList.selectedPath(i);
        const std::optional<std::string> text = readTextFile(path);
        if (!text) {
            xml.cancelWriting();
            s.failures.showGeneralError(cannotOpenMessage(path));
            return {BatchOutcome::Failed, exportFolder};
        }
        record.clear();
        appendXmlRecord(*text, i, record);
        if (xml.write(record.data(), static_cast<qint64>(record.size())) !=
            static_cast<qint64>(record.size()))
            return cannotCreate();
        s.progress.setPosition(i + 1);
    }
    if (!writeUtf8Line(xml, XmlRootEnd) || !xml.commit())
        return cannotCreate();

    std::string done(MessageExportDone);
    done += CrLf;
    done += toDocumentText(exportFolder + QDir::separator());
    s.boxes.showInformation(done);
    return {BatchOutcome::Completed, exportFolder};
}

} // namespace quillet
