#include "files/file_names.h"

#include "text/display_text.h"

namespace quillet {

NativePath fileNameSafeText(std::string safe) {
    // Every character replaced is ASCII, and no byte of a longer UTF-8 sequence is.
    for (char& c : safe) {
        switch (c) {
        case '/':
        case '\\':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            c = '-';
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                c = '-';
            break;
        }
    }
    return safe;
}

NativePath fileNameSafeDate(std::string_view date) {
    return fileNameSafeText(toDisplayUtf8(date));
}

} // namespace quillet
