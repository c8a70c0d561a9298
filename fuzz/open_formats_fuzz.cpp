#include "batch/corpus_check.h"
#include "batch/record_fields.h"
#include "batch/record_formats.h"
#include "fuzz_support.h"
#include "text/cp1252.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

// Whatever a file holds: its JSON line parses to the fields the XML takes, with no control
// character left raw; its CSV row quotes every field that holds a line break; and the check
// names only lines the file has.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillet;
    const std::string_view text = fuzz::bytes(data, size);
    const FieldContents contents = findFieldContents(text);

    std::string json;
    appendJsonRecord(text, 7, "a\nb.txt", json);
    fuzz::require(json.back() == '\n' &&
                      std::none_of(json.begin(), json.end() - 1,
                                   [](char c) { return static_cast<unsigned char>(c) < 0x20; }),
                  "one line without raw control characters");
    QJsonParseError error;
    const QJsonObject object =
        QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())),
                                &error)
            .object();
    fuzz::require(error.error == QJsonParseError::NoError, "the line is JSON");
    fuzz::require(object.value("ID").toInt() == 7 &&
                      object.value("FileName").toString() == "a\nb.txt",
                  "the number and the name");
    for (std::size_t r = 0; r < XmlFields.size(); ++r) {
        const QJsonValue value = object.value(QString::fromLatin1(XmlFields[r].element));
        if (!contents[r]) {
            fuzz::require(value.isNull(), "a missing tag is null");
            continue;
        }
        const std::string utf8 = convertToUtf8(*contents[r]);
        fuzz::require(value.toString() ==
                          QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())),
                      "the field's text");
    }

    std::string csv;
    appendCsvRecord(text, 7, "a.txt", csv);
    std::size_t quotes = 0;
    for (std::size_t i = 0; i + 2 < csv.size(); ++i) {
        quotes += csv[i] == '"';
        fuzz::require(csv[i] != '\n' || quotes % 2 == 1, "line breaks only inside quotes");
    }
    fuzz::require(csv.ends_with("\r\n") && quotes % 2 == 0, "the row ends after its fields");

    const long long lines =
        1 + std::count(text.begin(), text.end(), '\n') + std::count(text.begin(), text.end(), '\r');
    for (const Finding& f : checkTaggedText(text, {}))
        fuzz::require(f.line >= 1 && f.line <= lines && !f.message.empty(), "a line of the file");
    return 0;
}
