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

std::string toDisplayUtf8(std::string_view document) {
    std::string out;
    out.reserve(document.size() + document.size() / 8);
    for (std::size_t i = 0; i < document.size(); ++i) {
        const auto c = static_cast<unsigned char>(document[i]);
        if (c == '\r') {
            if (i + 1 < document.size() && document[i + 1] == '\n')
                ++i;
            out += '\n';
        } else {
            appendCodePoint(cp1252ToUnicode(c), out);
        }
    }
    return out;
}

std::size_t toDisplayUtf16(std::string_view document, char16_t* out) {
    char16_t* const begin = out;
    for (std::size_t i = 0; i < document.size(); ++i) {
        const auto c = static_cast<unsigned char>(document[i]);
        if (c == '\r') {
            if (i + 1 < document.size() && document[i + 1] == '\n')
                ++i;
            *out++ = u'\n';
        } else {
            *out++ = static_cast<char16_t>(cp1252ToUnicode(c));
        }
    }
    return static_cast<std::size_t>(out - begin);
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
