#pragma once

#include "services/services.h"

#include <QDate>
#include <QString>

#include <string>
#include <string_view>

namespace quillet {

// A date in the short date format of the user's regional settings, as Windows-1252 text.
std::string shortDateText(QDate date);

// Today's date for captures and file names, from the system's regional settings.
class SystemDateSource : public DateSource {
public:
    std::string todayShortDate() override;
};

// A date text as it may stand inside a file or folder name: every character that no
// file system on the supported platforms accepts there becomes "-". Some regional
// settings write dates with slashes, which would otherwise turn into folders.
QString fileNameSafeDate(std::string_view date);

// Any text as it may stand inside one file or folder name, by the same rule: a path
// separator in it can never lead into another folder.
QString fileNameSafeText(QString text);

} // namespace quillet
