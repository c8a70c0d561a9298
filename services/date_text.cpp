#include "services/date_text.h"

#include "text/display_text.h"

namespace quillet {

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
