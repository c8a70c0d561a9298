#include "text/display_text.h"

#include "text/cp1252.h"
#include "text/unicode.h"

namespace quillet {

namespace {

bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c < 0xDC00;
}

bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

// The document bytes of one shown character; `next` is the one after it, which a CR
// swallows when it is the LF of a CR LF. Returns whether it did.
bool appendDocumentCharacter(char32_t c, char32_t next, std::string& out) {
    if (c == u'\r') {
        out += "\r\n";
        return next == u'\n';
    }
    if (c == u'\n' || c == 0x2029 || c == 0x2028)
        // A text control separates paragraphs and lines with the last two.
        out += "\r\n";
    else
        out += unicodeToCp1252(c);
    return false;
}

} // namespace

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

std::string documentTextFromUtf16(std::u16string_view display,
                                  std::vector<std::size_t>* pairPositions) {
    if (pairPositions != nullptr)
        pairPositions->clear();
    std::string out;
    out.reserve(display.size() + 64);
    const std::size_t n = display.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t c = display[i];
        if (isHighSurrogate(c) && i + 1 < n && isLowSurrogate(display[i + 1])) {
            ++i;
            if (pairPositions != nullptr)
                pairPositions->push_back(out.size());
            out += '?';
        } else if (appendDocumentCharacter(c, i + 1 < n ? display[i + 1] : 0, out)) {
            ++i;
        }
    }
    return out;
}

std::string documentTextFromUtf8(std::string_view display) {
    std::string out;
    out.reserve(display.size());
    while (!display.empty()) {
        char32_t c = 0;
        std::size_t length = decodeUtf8(display, c);
        if (length == 0) {
            c = 0xFFFD;
            length = 1;
        }
        display.remove_prefix(length);
        if (appendDocumentCharacter(c, display.empty() ? 0 : display.front(), out))
            display.remove_prefix(1);
    }
    return out;
}

} // namespace quillet
