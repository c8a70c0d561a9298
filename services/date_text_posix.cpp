#include "services/date_text.h"

#include "text/display_text.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

namespace quillet {

namespace {

// The locale that setlocale(LC_TIME, "") would take: LC_ALL, then LC_TIME, then LANG.
const char* timeLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return "C";
}

class OwnLocale {
public:
    // The date formats and the character set of one locale, or of "C" when the system
    // has no such locale, as setlocale then keeps the C locale's.
    explicit OwnLocale(const char* name)
        : locale_(::newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name, locale_t{})) {
        if (locale_ == locale_t{})
            locale_ = ::newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "C", locale_t{});
    }
    ~OwnLocale() {
        if (locale_ != locale_t{})
            ::freelocale(locale_);
    }
    OwnLocale(const OwnLocale&) = delete;
    OwnLocale& operator=(const OwnLocale&) = delete;

    locale_t get() const { return locale_; }

private:
    locale_t locale_;
};

// The locale's text in UTF-8; a character set that iconv does not know passes ASCII only.
std::string toUtf8(const char* text, const char* codeset) {
    const std::size_t length = std::strlen(text);
    if (std::strcmp(codeset, "UTF-8") == 0)
        return {text, length};
    std::string out;
    const iconv_t converter = ::iconv_open("UTF-8", codeset);
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        for (std::size_t i = 0; i < length; ++i)
            out += static_cast<unsigned char>(text[i]) < 0x80 ? text[i] : '?';
        return out;
    }
    out.resize(length * 4 + 16);
    char* in = const_cast<char*>(text); // iconv's historical signature; it only reads
    std::size_t inLeft = length;
    char* to = out.data();
    std::size_t toLeft = out.size();
    while (inLeft > 0 &&
           ::iconv(converter, &in, &inLeft, &to, &toLeft) == static_cast<std::size_t>(-1)) {
        if (errno != EILSEQ && errno != EINVAL)
            break;
        // A byte the character set does not define: one "?" for it.
        ++in;
        --inLeft;
        if (toLeft == 0)
            break;
        *to++ = '?';
        --toLeft;
    }
    ::iconv(converter, nullptr, nullptr, &to, &toLeft); // a shifted character set's end
    ::iconv_close(converter);
    out.resize(out.size() - toLeft);
    return out;
}

} // namespace

CalendarDay today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string shortDateText(const CalendarDay& day) {
    // The text that setlocale(LC_TIME, "") and strftime("%x") give, taken from a locale
    // object of its own, so that the process's locale stays as it is: setlocale is
    // process-wide, Qt's application object has already set every category from the
    // environment (LC_NUMERIC's decimal point included), other threads run meanwhile, and
    // quillet-batch, which keeps the C locale for all else, writes the same date.
    const OwnLocale locale(timeLocaleName());
    if (locale.get() == locale_t{})
        return {};
    std::tm date{};
    date.tm_year = day.year - 1900;
    date.tm_mon = day.month - 1;
    date.tm_mday = day.day;
    // Noon, so that no change of daylight saving time moves the day; mktime fills in the
    // weekday, which some locales write.
    date.tm_hour = 12;
    date.tm_isdst = -1;
    std::mktime(&date);
    char text[256];
    if (::strftime_l(text, sizeof text, "%x", &date, locale.get()) == 0)
        return {};
    return documentTextFromUtf8(toUtf8(text, ::nl_langinfo_l(CODESET, locale.get())));
}

} // namespace quillet
