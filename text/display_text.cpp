#include "text/display_text.h"

#include "text/cp1252.h"

namespace quillet {

QString toDisplayText(std::string_view document) {
    QString out;
    out.reserve(static_cast<qsizetype>(document.size()));
    for (std::size_t i = 0; i < document.size(); ++i) {
        const auto c = static_cast<unsigned char>(document[i]);
        if (c == '\r') {
            if (i + 1 < document.size() && document[i + 1] == '\n')
                ++i;
            out += QChar(u'\n');
        } else {
            out += QChar(static_cast<char16_t>(cp1252ToUnicode(c)));
        }
    }
    return out;
}

std::string toDocumentText(QStringView display) {
    std::vector<std::size_t> pairPositions;
    return toDocumentText(display, pairPositions);
}

std::string toDocumentText(QStringView display, std::vector<std::size_t>& pairPositions) {
    pairPositions.clear();
    std::string out;
    out.reserve(static_cast<std::size_t>(display.size()) + 64);
    const qsizetype n = display.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = display[i].unicode();
        if (c == u'\r') {
            if (i + 1 < n && display[i + 1] == u'\n')
                ++i;
            out += "\r\n";
        } else if (c == u'\n' || c == 0x2029 || c == 0x2028) {
            // QTextDocument separates paragraphs and lines with these.
            out += "\r\n";
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && display[i + 1].isLowSurrogate()) {
            ++i;
            pairPositions.push_back(out.size());
            out += '?';
        } else {
            out += unicodeToCp1252(c);
        }
    }
    return out;
}

} // namespace quillet
