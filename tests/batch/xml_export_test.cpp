#include "batch/xml_export.h"
#include "support/fakes.h"
#include "support/notation.h"
#include "support/small_disk.h"
#include "text/cp1252.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace quillet {
namespace {

using namespace test;

// The record as the rule reads: a search for each marker on its own, then the content
// escaped and converted piece by piece.
std::string literalRecord(const std::string& text, long long id) {
    std::string xml = "<Daten>\r\n<ID>" + std::to_string(id) + "</ID>\r\n";
    for (const XmlField& f : XmlFields) {
        const auto p = text.find(f.opening);
        if (p == std::string::npos)
            continue;
        const auto q = text.find(f.closing);
        std::string content;
        if (q != std::string::npos && q > p + f.opening.size())
            content = text.substr(p + f.opening.size(), q - p - f.opening.size());
        std::string escaped;
        for (unsigned char c : content) {
            if (c == '&')
                escaped += "&amp;";
            else if (c == '<')
                escaped += "&lt;";
            else if (c == '>')
                escaped += "&gt;";
            else if (c < 0x20 && c != '\t' && c != '\r' && c != '\n')
                escaped += ' ';
            else
                escaped += static_cast<char>(c);
        }
        xml += "<" + std::string(f.element) + ">" + convertToUtf8(escaped) + "</" +
               std::string(f.element) + ">\r\n";
    }
    return xml + "</Daten>\r\n";
}

struct RecordCase {
    const char* name;
    const char* text;
    const char* record; // the lines between the ID line and "</Daten>"
};

// clang-format off
const RecordCase recordCases[] = {
    {"NoKnownTag", "free text⏎", ""},
    {"CaptureExample",
     "{TITEL}Das ist ein Demonstrationstitel{/TITEL}⏎⏎{TEXT}Dieser Text war zuerst da.⏎⏎Dann kam dieser Satz hinzu.{/TEXT}⏎⏎",
     "<MainTitel>Das ist ein Demonstrationstitel</MainTitel>⏎<MainText>Dieser Text war zuerst da.⏎⏎Dann kam dieser Satz hinzu.</MainText>⏎"},
    {"TableOrderNotFileOrder", "{TEXT}b{/TEXT}{TITEL}t{/TITEL}{AUTOR}a{/AUTOR}",
     "<MainTitel>t</MainTitel>⏎<Author>a</Author>⏎<MainText>b</MainText>⏎"},
    {"EveryTag",
     "{SEITE}10{/SEITE}{MEDIUM}m{/MEDIUM}{OBERTITEL}o{/OBERTITEL}{UNTERTITEL}u{/UNTERTITEL}{E_DATUM}e{/E_DATUM}{A_DATUM}d{/A_DATUM}{THEMA}th{/THEMA}{QUELLE}q{/QUELLE}",
     "<Medium>m</Medium>⏎<FirstTitel>o</FirstTitel>⏎<SecondTitel>u</SecondTitel>⏎<TextDate>e</TextDate>⏎<CurrentDate>d</CurrentDate>⏎<Subject>th</Subject>⏎<Source>q</Source>⏎<Page>10</Page>⏎"},
    {"NoClosingMarker", "{TITEL}t", "<MainTitel></MainTitel>⏎"},
    {"ClosingBeforeOpening", "{/TITEL}x{TITEL}t", "<MainTitel></MainTitel>⏎"},
    {"EmptySection", "{MEDIUM}{/MEDIUM}", "<Medium></Medium>⏎"},
    {"FirstSectionOnly", "{TEXT}a{/TEXT}⏎{TEXT}b{/TEXT}", "<MainText>a</MainText>⏎"},
    {"LowerCaseMarkers", "{titel}t{/titel}", ""},
    {"UserTagsNotExported", "{8}x{/8}{9}y{/9}", ""},
    {"UserTagInsideSection", "{TEXT}a{8}x{/8}{/TEXT}", "<MainText>a{8}x{/8}</MainText>⏎"},
    {"Escaping", "{QUELLE}M\xFCller & S\xF6hne <GmbH>{/QUELLE}",
     "<Source>M\xC3\xBCller &amp; S\xC3\xB6hne &lt;GmbH&gt;</Source>⏎"},
    {"EuroSign", "{THEMA}\x80 5{/THEMA}", "<Subject>\xE2\x82\xAC 5</Subject>⏎"},
    {"ContentEndingInLineBreak", "{TEXT}a⏎{/TEXT}", "<MainText>a⏎</MainText>⏎"},
    {"ControlBytesBecomeSpaces", "{TEXT}a\x01\x1F\tb\x7F{/TEXT}", "<MainText>a  \tb\x7F</MainText>⏎"},
    {"TitelInsideObertitelIsNoMarker", "{OBERTITEL}o{/OBERTITEL}", "<FirstTitel>o</FirstTitel>⏎"},
    {"BraceRightAfterOpening", "{TEXT}{{/TEXT}", "<MainText>{</MainText>⏎"},
};
// clang-format on

class XmlRecordTable : public testing::TestWithParam<RecordCase> {};

TEST_P(XmlRecordTable, BuildsTheRecord) {
    const RecordCase& c = GetParam();
    const std::string expected = "<Daten>\r\n<ID>7</ID>\r\n" + doc(c.record) + "</Daten>\r\n";
    EXPECT_EQ(shown(xmlRecord(doc(c.text), 7)), shown(expected));
    EXPECT_EQ(shown(literalRecord(doc(c.text), 7)), shown(expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, XmlRecordTable, testing::ValuesIn(recordCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(XmlRecord, AgreesWithTheRuleOnRandomTexts) {
    const std::vector<std::string> pieces = {"{TEXT}",
                                             "{/TEXT}",
                                             "{TITEL}",
                                             "{/TITEL}",
                                             "{OBERTITEL}",
                                             "{/OBERTITEL}",
                                             "{",
                                             "}",
                                             "/",
                                             "a",
                                             "&",
                                             "<",
                                             "\r\n",
                                             "\x80",
                                             "\x01",
                                             "{MEDIUM",
                                             "{/",
                                             "TEXT}",
                                             std::string(1, '\0')};
    std::mt19937 rng(7);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = static_cast<int>(rng() % 12); n > 0; --n)
            text += pieces[rng() % pieces.size()];
        ASSERT_EQ(shown(xmlRecord(text, round)), shown(literalRecord(text, round))) << shown(text);
    }
}

TEST(XmlExport, FixedLinesHaveTheirLength) {
    EXPECT_EQ(XmlDeclaration.size(), 38u);
    EXPECT_EQ(XmlRootStart.size(), 153u);
    EXPECT_NE(XmlRootStart.find("\"  xsi:"), std::string_view::npos);
}

struct ExportFixture : testing::Test {
    TempFolder source;
    TempFolder target;
    EventLog log;
    FakeProgress progress{log};
    FakeBoxes boxes{log};
    FakeFailures failures{log};
    XmlExportServices services{progress, boxes, failures};
    TextFileList list;
    NativePath schema = std::string(QUILLET_SOURCE_DIR) + "/data/XML_Vorlage/XML.xsd";

    void files(std::initializer_list<std::pair<const char*, std::string>> contents) {
        for (const auto& [name, text] : contents)
            writeBytes(source.path() + "/" + name, text);
        list.assign(native(source.path()));
    }
    XmlExportResult run() {
        return exportToXml(native(source.path()), list, native(target.path()), schema, services);
    }
    std::string head() const {
        return std::string(XmlDeclaration) + "\r\n" + std::string(XmlRootStart) + "\r\n";
    }
    std::string done(const NativePath& folder) const {
        return "information: " + std::string(MessageExportDone) + "\r\n" + path8(folder) + "/";
    }
};

TEST_F(ExportFixture, OneRecordPerFileInListOrder) {
    files({{"b.txt", "{TITEL}zwei{/TITEL}"}, {"A.txt", "{TEXT}eins\n{/TEXT}"}, {"c.txt", ""}});
    const XmlExportResult result = run();
    EXPECT_EQ(result.outcome, BatchOutcome::Completed);
    const NativePath folder = target.path() + "/XML0";
    EXPECT_EQ(result.exportFolder, native(folder));
    EXPECT_EQ(readBytes(folder + "/XML.xml"),
              head() + "<Daten>\r\n<ID>0</ID>\r\n<MainText>eins\r\n</MainText>\r\n</Daten>\r\n" +
                  "<Daten>\r\n<ID>1</ID>\r\n<MainTitel>zwei</MainTitel>\r\n</Daten>\r\n" +
                  "<Daten>\r\n<ID>2</ID>\r\n</Daten>\r\n</dataroot>\r\n");
    EXPECT_EQ(readBytes(folder + "/XML.xsd"), readBytes(schema));
    EXPECT_EQ(folderContents(folder), (std::vector<std::string>{"XML.xml", "XML.xsd"}));
    EXPECT_EQ(log, (EventLog{"maximum 3", "position 1", "position 2", "position 3", done(folder)}));
}

TEST_F(ExportFixture, EmptyFolderGivesThreeLines) {
    list.assign(native(source.path()));
    EXPECT_EQ(run().outcome, BatchOutcome::Completed);
    EXPECT_EQ(readBytes(target.path() + "/XML0/XML.xml"), head() + "</dataroot>\r\n");
}

TEST_F(ExportFixture, TakesTheFirstFreeFolderNumber) {
    files({{"a.txt", "x"}});
    makeFolder(target.path() + "/XML0");
    makeFolder(target.path() + "/XML1");
    EXPECT_EQ(run().exportFolder, native(target.path() + "/XML2"));
    EXPECT_EQ(run().exportFolder, native(target.path() + "/XML3"));
    EXPECT_EQ(folderContents(target.path() + "/XML0"), std::vector<std::string>{});
}

TEST_F(ExportFixture, AnythingNamedLikeAnExportFolderIsPassedOver) {
    files({{"a.txt", "x"}});
    writeBytes(target.path() + "/XML0", "plain");
    makeLink(target.path() + "/nowhere", target.path() + "/XML1");
    const XmlExportResult result = run();
    EXPECT_EQ(result.outcome, BatchOutcome::Completed);
    EXPECT_EQ(result.exportFolder, native(target.path() + "/XML2"));
    EXPECT_EQ(readBytes(target.path() + "/XML0"), "plain");
    EXPECT_EQ(folderContents(target.path()), (std::vector<std::string>{"XML0", "XML1", "XML2"}));
}

TEST_F(ExportFixture, FolderChecksInOrder) {
    files({{"a.txt", "x"}});
    const NativePath missing = target.path() + "/missing";
    const struct {
        const char* name;
        NativePath sourceText, targetText;
        const char* message;
    } rows[] = {
        {"SourceMissing", missing, target.path(), "error: Quellverzeichnis existiert nicht!"},
        {"SourceEmpty", NativePath(), target.path(), "error: Quellverzeichnis existiert nicht!"},
        {"BothMissing", missing, missing, "error: Quellverzeichnis existiert nicht!"},
        {"TargetMissing", source.path(), missing, "error: Zielverzeichnis existiert nicht!"},
        {"TargetIsAFile", source.path(), source.path() + "/a.txt",
         "error: Zielverzeichnis existiert nicht!"},
    };
    for (const auto& row : rows) {
        log.clear();
        EXPECT_EQ(
            exportToXml(native(row.sourceText), list, native(row.targetText), schema, services)
                .outcome,
            BatchOutcome::Refused)
            << row.name;
        EXPECT_EQ(log, EventLog{row.message}) << row.name;
    }
    EXPECT_EQ(folderContents(target.path()), std::vector<std::string>{});
}

TEST_F(ExportFixture, MissingTemplateIsNoFailure) {
    files({{"a.txt", "x"}});
    schema = source.path() + "/none.xsd";
    EXPECT_EQ(run().outcome, BatchOutcome::Completed);
    EXPECT_EQ(folderContents(target.path() + "/XML0"), std::vector<std::string>{"XML.xml"});
}

// What every format shares with the XML: its own numbered folder, its file only once the
// export is complete, nothing left after a failure.
struct FormatRow {
    const char* name;
    ExportFormat format;
    const char* folder; // the first export folder
    std::vector<std::string> files;
    const char* done;
};

const FormatRow formatRows[] = {
    {"Xml", ExportFormat::Xml, "XML0", {"XML.xml", "XML.xsd"}, "Die XML-Daten"},
    {"Csv", ExportFormat::Csv, "CSV0", {"Daten.csv"}, "Die CSV-Daten"},
    {"JsonLines", ExportFormat::JsonLines, "JSONL0", {"Daten.jsonl"}, "Die JSONL-Daten"},
    {"Sqlite", ExportFormat::Sqlite, "SQLite0", {"Daten.sqlite"}, "Die SQLite-Daten"},
};

struct FormatExport : ExportFixture, testing::WithParamInterface<FormatRow> {
    XmlExportResult run(const NativePath& into) {
        return exportRecords(GetParam().format, native(source.path()), list, native(into), schema,
                             services);
    }
    std::string output(const NativePath& parent) const {
        return path8(parent) + "/" + GetParam().folder + "/" + GetParam().files.front();
    }
};

TEST_P(FormatExport, WritesItsFileIntoItsOwnFolder) {
    files({{"a.txt", "{TITEL}t{/TITEL}"}, {"b.txt", ""}});
    const NativePath folder = target.path() + "/" + GetParam().folder;
    EXPECT_EQ(run(target.path()).outcome, BatchOutcome::Completed);
    EXPECT_EQ(folderContents(folder), GetParam().files);
    EXPECT_EQ(log, (EventLog{"maximum 2", "position 1", "position 2",
                             "information: " + std::string(GetParam().done) +
                                 " wurden im folgenden Verzeichnis gespeichert: \r\n" +
                                 path8(folder) + "/"}));
}

TEST_P(FormatExport, FileRemovedAfterListingLeavesNoFolder) {
    files({{"a.txt", "x"}, {"b.txt", "y"}, {"c.txt", "z"}});
    removeName(source.path() + "/b.txt");
    EXPECT_EQ(run(target.path()).outcome, BatchOutcome::Failed);
    EXPECT_EQ(eventsStartingWith(log, "failure"),
              std::vector<std::string>{"failure: Datei " + path8(source.path()) +
                                       "/b.txt kann nicht ge\xF6"
                                       "ffnet werden"});
    EXPECT_EQ(progress.position, 1);
    EXPECT_EQ(folderContents(target.path()), std::vector<std::string>{});
}

TEST_P(FormatExport, FullDiskLeavesNoFolder) {
    SmallDisk disk(128);
    QUILLET_SKIP_WITHOUT(disk);
    files({{"a.txt", "{TEXT}" + std::string(100 * 1024, 'a') + "{/TEXT}"},
           {"b.txt", "{TEXT}" + std::string(100 * 1024, 'b') + "{/TEXT}"}});
    EXPECT_EQ(run(disk.path()).outcome, BatchOutcome::Failed);
    EXPECT_EQ(eventsStartingWith(log, "failure"),
              std::vector<std::string>{"failure: Datei " + output(disk.path()) +
                                       " kann nicht erstellt werden"});
    EXPECT_EQ(eventsStartingWith(log, "information"), std::vector<std::string>{});
    EXPECT_EQ(folderContents(disk.path()), std::vector<std::string>{});
}

TEST_P(FormatExport, AllFolderNumbersTakenWritesNothing) {
    files({{"a.txt", "x"}});
    const std::string base =
        std::string(GetParam().folder).substr(0, std::strlen(GetParam().folder) - 1);
    for (int n = 0; n <= LastExportFolderNumber; ++n)
        ASSERT_TRUE(makeFolder(target.path() + "/" + base + std::to_string(n)));
    EXPECT_EQ(run(target.path()).outcome, BatchOutcome::Refused);
    EXPECT_EQ(log, EventLog{"error: Im Zielverzeichnis sind alle Ordnernamen von " + base +
                            "0 bis " + base + "1000 bereits vergeben!"});
    EXPECT_EQ(folderContents(target.path()).size(), 1001u);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormatExport, testing::ValuesIn(formatRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SchemaTemplate, BesideTheExecutableFirst) {
    TempFolder exe;
    EXPECT_TRUE(findSchemaTemplate(exe.path()).starts_with(exe.path()));
    makeFolder(exe.path() + "/XML_Vorlage");
    writeBytes(exe.path() + "/XML_Vorlage/XML.xsd", "");
    EXPECT_EQ(path8(findSchemaTemplate(exe.path())), path8(exe.path() + "/XML_Vorlage/XML.xsd"));
}

} // namespace
} // namespace quillet
