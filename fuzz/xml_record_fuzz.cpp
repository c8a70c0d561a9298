#include "batch/xml_export.h"
#include "fuzz_support.h"

#include <QByteArray>
#include <QXmlStreamReader>

// Whatever a file holds, its record parses as well-formed XML: one Daten element with the
// ID first and the known fields after it in table order.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillet;
    const long long id = size > 0 ? data[0] : 0;
    const std::string record = xmlRecord(fuzz::bytes(data, size), id);
    QByteArray document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<dataroot>\r\n";
    document.append(record.data(), static_cast<qsizetype>(record.size()));
    document.append("</dataroot>\r\n");

    QXmlStreamReader xml(document);
    int depth = 0, records = 0;
    std::size_t nextField = 0;
    bool sawId = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            const auto name = xml.name();
            if (depth == 2) {
                fuzz::require(name == QLatin1String("Daten"), "records are Daten");
                ++records;
            } else if (depth == 3 && !sawId) {
                fuzz::require(name == QLatin1String("ID"), "the ID comes first");
                fuzz::require(xml.readElementText().toLongLong() == id, "the ID is the number");
                sawId = true;
                --depth;
            } else if (depth == 3) {
                while (nextField < XmlFields.size() &&
                       name != QLatin1String(
                                   XmlFields[nextField].element.data(),
                                   static_cast<qsizetype>(XmlFields[nextField].element.size())))
                    ++nextField;
                fuzz::require(nextField < XmlFields.size(), "fields in table order");
                ++nextField;
                xml.readElementText();
                --depth;
            }
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    fuzz::require(!xml.hasError(), "the record is well-formed");
    fuzz::require(records == 1 && sawId, "one record with its ID");
    return 0;
}
