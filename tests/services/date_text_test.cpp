#include "services/date_text.h"
#include "support/notation.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

namespace quillet {
namespace {

using namespace test;

// Locales built by the test into a folder of its own, found through LOCPATH, so that the
// machine's locales are neither needed nor changed. The sources come with Debian's
// "locales" package.
class BuiltLocales {
public:
    BuiltLocales() { ::setenv("LOCPATH", folder_.path().c_str(), 1); }
    ~BuiltLocales() { ::unsetenv("LOCPATH"); }

    // Builds e.g. "de_DE" in "UTF-8" as "de_DE.UTF-8"; false when localedef cannot.
    bool build(const std::string& source, const std::string& charset) {
        const std::string name = source + "." + charset;
        const std::string command = "localedef -i " + source + " -f " + charset + " '" +
                                    folder_.filePath(name) + "' >/dev/null 2>&1";
        // localedef says 1 for warnings about the sources; the locale is there all the same.
        std::system(command.c_str());
        return exists(folder_.filePath(name) + "/LC_TIME");
    }

private:
    TempFolder folder_;
};

struct DateRow {
    const char* name;
    const char* source;  // the locale to build, if any
    const char* charset; // its character set
    const char* lcAll;   // the environment, each unset when empty
    const char* lcTime;
    const char* lang;
    const char* expected; // for 8 December 2026, Windows-1252
};

// clang-format off
const DateRow dateRows[] = {
    {"German", "de_DE", "UTF-8", "de_DE.UTF-8", "", "", "08.12.2026"},
    {"AmericanEnglish", "en_US", "UTF-8", "en_US.UTF-8", "", "", "12/08/2026"},
    {"French", "fr_FR", "UTF-8", "fr_FR.UTF-8", "", "", "08/12/2026"},
    {"C", "", "", "C", "", "", "12/08/26"},
    {"NothingSet", "", "", "", "", "", "12/08/26"},
    {"UnknownLocaleIsC", "", "", "xx_XX.UTF-8", "", "", "12/08/26"},
    {"LangAlone", "de_DE", "UTF-8", "", "", "de_DE.UTF-8", "08.12.2026"},
    {"LcTimeBeforeLang", "fr_FR", "UTF-8", "", "fr_FR.UTF-8", "C", "08/12/2026"},
    {"LcAllBeforeLcTime", "de_DE", "UTF-8", "de_DE.UTF-8", "C", "C", "08.12.2026"},
    // The weekday in a name of its own: þriðjudagur, its letter converted from UTF-8.
    {"IcelandicFromUtf8", "is_IS", "UTF-8", "is_IS.UTF-8", "", "", "\xFEri  8.des 2026"},
    // Another character set, and characters Windows-1252 lacks.
    {"KoreanFromEucKr", "ko_KR", "EUC-KR", "ko_KR.EUC-KR", "", "", "2026? 12? 08?"},
};
// clang-format on

class SystemDate : public testing::TestWithParam<DateRow> {
protected:
    static void put(const char* variable, const char* value) {
        if (*value != '\0')
            ::setenv(variable, value, 1);
        else
            ::unsetenv(variable);
    }
};

TEST_P(SystemDate, IsTheCLibrarysDateForLcTime) {
    const DateRow& row = GetParam();
    BuiltLocales locales;
    if (*row.source != '\0') {
        ASSERT_TRUE(locales.build(row.source, row.charset))
            << "localedef cannot build " << row.source << " (packages locales and libc-bin)";
    }
    put("LC_ALL", row.lcAll);
    put("LC_TIME", row.lcTime);
    put("LANG", row.lang);
    EXPECT_EQ(shown(shortDateText({2026, 12, 8})), shown(row.expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, SystemDate, testing::ValuesIn(dateRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The numbers Qt and the C library print keep their decimal point, whatever the date is.
TEST(SystemDate, LeavesTheProcesssLocaleAsItIs) {
    BuiltLocales locales;
    ASSERT_TRUE(locales.build("de_DE", "UTF-8"));
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    const std::string before = std::setlocale(LC_ALL, nullptr);
    EXPECT_EQ(shortDateText({2026, 12, 8}), "08.12.2026");
    EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
}

} // namespace
} // namespace quillet
