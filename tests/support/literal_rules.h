#pragma once

// Slow, literal versions of the text rules, word for word as the rules read: the
// oracles that the fast routines are checked against.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quillet::literal {

// Every occurrence, left to right, resuming behind each match.
template <class String>
String replaceAll(const String& text, std::basic_string_view<typename String::value_type> from,
                  std::basic_string_view<typename String::value_type> to) {
    String out;
    std::size_t pos = 0;
    for (;;) {
        const auto hit = text.find(from, pos);
        if (hit == String::npos)
            break;
        out.append(text, pos, hit - pos);
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text, pos);
    return out;
}

// The nine cleaning steps over a wider alphabet than bytes: the three marks that stand in
// while the steps between run are symbols that no byte of the text can be.
inline std::string cleanText(std::string_view bytes) {
    constexpr char32_t paragraph[] = {0x100, 0};
    constexpr char32_t dash[] = {0x101, 0};
    constexpr char32_t hyphen[] = {0x102, 0};
    std::u32string text;
    for (unsigned char c : bytes)
        text += char32_t(c);
    text = replaceAll(text, U"\r\n\r\n", paragraph);
    text = replaceAll(text, U"\r\n", U" ");
    text = replaceAll(text, U"  ", U" ");
    text = replaceAll(text, paragraph, U"\r\n\r\n");
    text = replaceAll(text, U" - ", dash);
    text = replaceAll(text, U"- ", hyphen);
    text = replaceAll(text, U"-\r\n", U"");
    text = replaceAll(text, dash, U" - ");
    text = replaceAll(text, hyphen, U"- ");
    std::string out;
    for (char32_t c : text)
        out += c < 0x100 ? static_cast<char>(c) : '#'; // a mark left over shows as '#'
    return out;
}

// The same steps with "***" and "+++" as the marks, as cleaning once worked: the same
// result for every text without '*' and '+', which nothing can then mistake for a mark.
inline std::string cleanTextWithTextMarks(std::string text) {
    text = replaceAll(text, "\r\n\r\n", "***");
    text = replaceAll(text, "\r\n", " ");
    text = replaceAll(text, "  ", " ");
    text = replaceAll(text, "***", "\r\n\r\n");
    text = replaceAll(text, " - ", "***");
    text = replaceAll(text, "- ", "+++");
    text = replaceAll(text, "-\r\n", "");
    text = replaceAll(text, "***", " - ");
    text = replaceAll(text, "+++", "- ");
    return text;
}

// The removal of brace spans as the rule states it. Empty when the text lies outside the
// rule (a step whose first "}" does not stand behind its first "{"), where the rule
// itself would never end.
inline std::optional<std::string> stripTags(std::string text) {
    for (;;) {
        const auto a = text.find('{');
        if (a == std::string::npos)
            return text;
        const auto b = text.find('}');
        if (b == std::string::npos || b < a)
            return std::nullopt;
        text = text.substr(0, a) + text.substr(b + 1);
    }
}

inline constexpr std::array<std::string_view, 11> sortOrder{
    "MEDIUM", "OBERTITEL", "TITEL", "UNTERTITEL", "E_DATUM", "A_DATUM",
    "AUTOR",  "SEITE",     "THEMA", "TEXT",       "QUELLE",
};

// The sorting rule for documents of the expected shape: the head from the unchanged
// input, the rest cut section by section with positions recomputed each time.
inline std::string sortTags(const std::string& input) {
    std::string head;
    for (std::string_view tag : sortOrder) {
        const std::string open = "{" + std::string(tag) + "}";
        const std::string close = "{/" + std::string(tag) + "}";
        const auto p = input.find(open);
        if (p == std::string::npos)
            continue;
        const auto q = input.find(close);
        const std::string section = input.substr(p, q + close.size() - p);
        head = tag == "MEDIUM" ? section : head + "\r\n\r\n" + section;
    }
    std::string rest = input;
    for (std::string_view tag : sortOrder) {
        const std::string open = "{" + std::string(tag) + "}";
        const std::string close = "{/" + std::string(tag) + "}";
        const auto p = rest.find(open);
        if (p == std::string::npos)
            continue;
        const auto q = rest.find(close);
        rest.erase(p, q + close.size() - p + 4);
    }
    return head + "\r\n\r\n" + rest;
}

} // namespace quillet::literal
