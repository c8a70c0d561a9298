#include "services/date_text.h"

#include "text/display_text.h"

#include <QLocale>

namespace quillet {

std::string shortDateText(QDate date) {
    return toDocumentText(QLocale::system().toString(date, QLocale::ShortFormat));
}

std::string SystemDateSource::todayShortDate() {
    return shortDateText(QDate::currentDate());
}

QString fileNameSafeDate(std::string_view date) {
    return fileNameSafeText(toDisplayText(date));
}

QString fileNameSafeText(QString safe) {
    for (QChar& c : safe) {
        switch (c.unicode()) {
        case u'/':
        case u'\\':
        case u':':
        case u'*':
        case u'?':
        case u'"':
        case u'<':
        case u'>':
        case u'|':
            c = u'-';
            break;
        default:
            if (c.unicode() < 0x20)
                c = u'-';
            break;
        }
    }
    return safe;
}

} // namespace quillet
