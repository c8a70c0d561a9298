#include "batch/record_formats.h"

#include "batch/record_fields.h"
#include "text/cp1252.h"

#include <array>

namespace quillet {

namespace {

constexpr std::string_view CrLf = "\r\n";
constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

void appendCsvField(std::string_view utf8, std::string& out) {
    if (utf8.find_first_of("\",\r\n") == std::string_view::npos) {
        out += utf8;
        return;
    }
    out += '"';
    for (std::size_t from = 0;;) {
        const std::size_t quote = utf8.find('"', from);
        out += utf8.substr(from, quote - from);
        if (quote == std::string_view::npos)
            break;
        out += "\"\"";
        from = quote + 1;
    }
    out += '"';
}

// The escape of a byte below 0x80 that JSON must not, or we will not, show as it is.
constexpr std::array<std::string_view, 128> JsonEscape = [] {
    std::array<std::string_view, 128> t{};
    constexpr std::array<std::string_view, 32> controls{
        "\\u0000", "\\u0001", "\\u0002", "\\u0003", "\\u0004", "\\u0005", "\\u0006", "\\u0007",
        "\\b",     "\\t",     "\\n",     "\\u000b", "\\f",     "\\r",     "\\u000e", "\\u000f",
        "\\u0010", "\\u0011", "\\u0012", "\\u0013", "\\u0014", "\\u0015", "\\u0016", "\\u0017",
        "\\u0018", "\\u0019", "\\u001a", "\\u001b", "\\u001c", "\\u001d", "\\u001e", "\\u001f",
    };
    for (std::size_t c = 0; c < controls.size(); ++c)
        t[c] = controls[c];
    t['"'] = "\\\"";
    t['\\'] = "\\\\";
    t[0x7F] = "\\u007f";
    return t;
}();

// A UTF-8 text as a JSON string. The C1 controls (U+0080 to U+009F, which the bytes that
// Windows-1252 leaves undefined become) are escaped like the C0 ones, so no control
// character reaches the line as it is.
void appendJsonString(std::string_view utf8, std::string& out) {
    static constexpr char hex[] = "0123456789abcdef";
    out += '"';
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80 && JsonEscape[c].empty())
            continue;
        if (c >= 0x80) {
            const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
            if (c != 0xC2 || next < 0x80 || next > 0x9F)
                continue;
            out += utf8.substr(runStart, i - runStart);
            out += "\\u00";
            out += hex[next >> 4];
            out += hex[next & 15];
            runStart = ++i + 1;
            continue;
        }
        out += utf8.substr(runStart, i - runStart);
        out += JsonEscape[c];
        runStart = i + 1;
    }
    out += utf8.substr(runStart);
    out += '"';
}

void appendJsonMember(std::string_view name, std::string& out) {
    out += '"';
    out += name;
    out += "\":";
}

} // namespace

void appendCsvHeader(std::string& out) {
    out += Utf8ByteOrderMark;
    out += IdColumn;
    out += ',';
    out += FileNameColumn;
    for (const XmlField& field : XmlFields) {
        out += ',';
        out += field.element;
    }
    out += CrLf;
}

void appendCsvRecord(std::string_view fileText, long long id, std::string_view fileName,
                     std::string& out) {
    const FieldContents contents = findFieldContents(fileText);
    out += std::to_string(id);
    out += ',';
    appendCsvField(fileName, out);
    std::string utf8;
    for (const auto& content : contents) {
        out += ',';
        if (!content)
            continue;
        utf8.clear();
        appendUtf8(*content, utf8);
        appendCsvField(utf8, out);
    }
    out += CrLf;
}

void appendJsonRecord(std::string_view fileText, long long id, std::string_view fileName,
                      std::string& out) {
    const FieldContents contents = findFieldContents(fileText);
    out += '{';
    appendJsonMember(IdColumn, out);
    out += std::to_string(id);
    out += ',';
    appendJsonMember(FileNameColumn, out);
    appendJsonString(fileName, out);
    std::string utf8;
    for (std::size_t r = 0; r < XmlFields.size(); ++r) {
        out += ',';
        appendJsonMember(XmlFields[r].element, out);
        if (!contents[r]) {
            out += "null";
            continue;
        }
        utf8.clear();
        appendUtf8(*contents[r], utf8);
        appendJsonString(utf8, out);
    }
    out += "}\n";
}

} // namespace quillet
