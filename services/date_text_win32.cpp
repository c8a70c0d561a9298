#include "services/date_text.h"

#include "text/display_text.h"

#include <windows.h>

namespace quillet {

CalendarDay today() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

std::string shortDateText(const CalendarDay& day) {
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(day.year);
    date.wMonth = static_cast<WORD>(day.month);
    date.wDay = static_cast<WORD>(day.day);
    // The user's own short date: the format of the user's locale with the changes made in
    // the regional settings.
    const int length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr,
                                       nullptr, 0, nullptr);
    if (length <= 1)
        return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, text.data(),
                        length, nullptr) != length)
        return {};
    text.pop_back(); // the terminating NUL
    // Our own conversion, so that a character Windows-1252 lacks becomes "?" as on Linux.
    return documentTextFromUtf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

} // namespace quillet
