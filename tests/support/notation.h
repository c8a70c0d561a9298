#pragma once

#include <string>
#include <string_view>

namespace quillet::test {

// Test texts written as the rules show them: "⏎" for CR LF and "␣" for a space. Every
// other byte stands for itself, so Windows-1252 letters are written as \x escapes.
inline std::string doc(std::string_view notation) {
    static constexpr std::string_view lineBreak = "\u23CE";
    static constexpr std::string_view space = "\u2423";
    std::string out;
    for (std::size_t i = 0; i < notation.size();) {
        if (notation.substr(i, lineBreak.size()) == lineBreak) {
            out += "\r\n";
            i += lineBreak.size();
        } else if (notation.substr(i, space.size()) == space) {
            out += ' ';
            i += space.size();
        } else {
            out += notation[i++];
        }
    }
    return out;
}

// A readable form of bytes for failure messages.
inline std::string shown(std::string_view bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c < 0x20 || c >= 0x7F) {
            static constexpr char hex[] = "0123456789ABCDEF";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else
            out += static_cast<char>(c);
    }
    return out;
}

} // namespace quillet::test
