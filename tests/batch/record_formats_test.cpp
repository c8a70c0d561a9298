#include "batch/record_fields.h"
#include "batch/record_formats.h"
#include "support/notation.h"

#include <gtest/gtest.h>

#include <map>

namespace quillet {
namespace {

using namespace test;

// One file's record in the open formats. Each field not listed is empty in CSV and null
// in JSON; the values are written as they stand in the output.
struct FormatCase {
    const char* name;
    std::string text;
    std::string fileName;
    std::map<std::string, std::string> csv;
    std::map<std::string, std::string> json;
};

const std::string nul(1, '\0');

// clang-format off
const FormatCase formatCases[] = {
    {"NoKnownTag", "free text⏎{8}x{/8}", "a.txt", {}, {}},
    {"OpenedNotClosedIsEmptyNotNull", "{TITEL}t", "a.txt", {}, {{"MainTitel", R"("")"}}},
    {"FirstSectionOnly", "{TEXT}a{/TEXT}⏎{TEXT}b{/TEXT}", "a.txt",
     {{"MainText", "a"}}, {{"MainText", R"("a")"}}},
    {"QuotesCommasAndLineBreaks", "{TITEL}Er sagte \"ja\", dann⏎nein{/TITEL}", "a.txt",
     {{"MainTitel", "\"Er sagte \"\"ja\"\", dann\r\nnein\""}},
     {{"MainTitel", R"("Er sagte \"ja\", dann\r\nnein")"}}},
    {"UmlautsAndEuroAsUtf8", "{AUTOR}M\xFCller \x80{/AUTOR}", "a.txt",
     {{"Author", "M\xC3\xBCller \xE2\x82\xAC"}}, {{"Author", "\"M\xC3\xBCller \xE2\x82\xAC\""}}},
    {"XmlSpecialsStayPlain", "{QUELLE}M&S <GmbH>{/QUELLE}", "a.txt",
     {{"Source", "M&S <GmbH>"}}, {{"Source", R"("M&S <GmbH>")"}}},
    {"ControlCharacters", "{TEXT}a\x01\tb\x7F\x81" "c{/TEXT}", "a.txt",
     {{"MainText", "a\x01\tb\x7F\xC2\x81" "c"}}, {{"MainText", R"("a\u0001\tb\u007f\u0081c")"}}},
    {"NulByte", "{TEXT}a" + nul + "b{/TEXT}", "a.txt",
     {{"MainText", "a" + nul + "b"}}, {{"MainText", R"("a\u0000b")"}}},
    {"Backslash", "{SEITE}C:\\x{/SEITE}", "a.txt", {{"Page", "C:\\x"}}, {{"Page", R"("C:\\x")"}}},
    {"EveryFieldInTableOrder",
     "{TEXT}11{/TEXT}{SEITE}10{/SEITE}{AUTOR}9{/AUTOR}{QUELLE}8{/QUELLE}{THEMA}7{/THEMA}{A_DATUM}6{/A_DATUM}"
     "{E_DATUM}5{/E_DATUM}{UNTERTITEL}4{/UNTERTITEL}{TITEL}3{/TITEL}{OBERTITEL}2{/OBERTITEL}{MEDIUM}1{/MEDIUM}",
     "a.txt",
     {{"Medium", "1"}, {"FirstTitel", "2"}, {"MainTitel", "3"}, {"SecondTitel", "4"}, {"TextDate", "5"},
      {"CurrentDate", "6"}, {"Subject", "7"}, {"Source", "8"}, {"Author", "9"}, {"Page", "10"}, {"MainText", "11"}},
     {{"Medium", R"("1")"}, {"FirstTitel", R"("2")"}, {"MainTitel", R"("3")"}, {"SecondTitel", R"("4")"},
      {"TextDate", R"("5")"}, {"CurrentDate", R"("6")"}, {"Subject", R"("7")"}, {"Source", R"("8")"},
      {"Author", R"("9")"}, {"Page", R"("10")"}, {"MainText", R"("11")"}}},
};
// clang-format on

// The name column is checked on its own rows: a name is UTF-8 already and may need quoting
// or escaping like any field.
struct NameCase {
    const char* name;
    std::string fileName;
    std::string csv;
    std::string json;
};

const NameCase nameCases[] = {
    {"Plain", "M\xC3\xBCller.txt", "M\xC3\xBCller.txt", "\"M\xC3\xBCller.txt\""},
    {"QuoteAndComma", "a, \"b\".txt", R"("a, ""b"".txt")", R"("a, \"b\".txt")"},
    {"LineBreakAndC1", "x\ny\xC2\x85.txt", "\"x\ny\xC2\x85.txt\"", R"("x\ny\u0085.txt")"},
};

std::string csvRow(long long id, const std::string& name,
                   const std::map<std::string, std::string>& f) {
    std::string row = std::to_string(id) + "," + name;
    for (const XmlField& field : XmlFields) {
        const auto it = f.find(std::string(field.element));
        row += "," + (it == f.end() ? std::string() : it->second);
    }
    return row + "\r\n";
}

std::string jsonLine(long long id, const std::string& name,
                     const std::map<std::string, std::string>& f) {
    std::string line = R"({"ID":)" + std::to_string(id) + R"(,"FileName":)" + name;
    for (const XmlField& field : XmlFields) {
        const auto it = f.find(std::string(field.element));
        line += ",\"" + std::string(field.element) + "\":" + (it == f.end() ? "null" : it->second);
    }
    return line + "}\n";
}

class FormatTable : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTable, WritesTheRecord) {
    const FormatCase& c = GetParam();
    const std::string text = doc(c.text);
    std::string csv;
    appendCsvRecord(text, 3, c.fileName, csv);
    EXPECT_EQ(shown(csv), shown(csvRow(3, c.fileName, c.csv)));
    std::string json;
    appendJsonRecord(text, 3, c.fileName, json);
    EXPECT_EQ(shown(json), shown(jsonLine(3, "\"" + c.fileName + "\"", c.json)));
}

INSTANTIATE_TEST_SUITE_P(Rows, FormatTable, testing::ValuesIn(formatCases),
                         [](const auto& info) { return std::string(info.param.name); });

class NameTable : public testing::TestWithParam<NameCase> {};

TEST_P(NameTable, WritesTheName) {
    const NameCase& c = GetParam();
    std::string csv;
    appendCsvRecord("", 0, c.fileName, csv);
    EXPECT_EQ(shown(csv), shown(csvRow(0, c.csv, {})));
    std::string json;
    appendJsonRecord("", 0, c.fileName, json);
    EXPECT_EQ(shown(json), shown(jsonLine(0, c.json, {})));
}

INSTANTIATE_TEST_SUITE_P(Rows, NameTable, testing::ValuesIn(nameCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CsvHeader, ByteOrderMarkThenTheColumns) {
    std::string header;
    appendCsvHeader(header);
    EXPECT_EQ(header, "\xEF\xBB\xBFID,FileName,Medium,FirstTitel,MainTitel,SecondTitel,TextDate,"
                      "CurrentDate,Subject,Source,Author,Page,MainText\r\n");
}

} // namespace
} // namespace quillet
