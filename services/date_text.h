#pragma once

#include "services/services.h"

#include <string>

namespace quillet {

struct CalendarDay {
    int year;
    int month; // 1 to 12
    int day;   // 1 to 31
};

// Today in the system's local time.
CalendarDay today();

// A day in the short date format of the user's regional settings, as Windows-1252 text
// (a character the code page lacks becomes "?"). On POSIX systems it is the C library's
// date ("%x") for the user's LC_TIME, which follows LC_ALL, LC_TIME and LANG; on Windows the
// user's own short date, customisations included.
std::string shortDateText(const CalendarDay& day);

// Today's date for captures, saved files and the untagged folder: the program and the
// command-line tool write the same text.
class SystemDateSource : public DateSource {
public:
    std::string todayShortDate() override { return shortDateText(today()); }
};

} // namespace quillet
