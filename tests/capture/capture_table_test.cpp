#include "capture/capture_table.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

struct ArgumentCase {
    const char* name;
    const char* argument;
    std::optional<int> id;
};

void PrintTo(const ArgumentCase& c, std::ostream* os) {
    *os << c.name;
}

// `quillet --hotkey N`: numbers are identifiers, so the digit keys go by identifier only.
const ArgumentCase argumentCases[] = {
    {"Identifier", "5", 5},
    {"LastIdentifier", "16", 16},
    {"DigitKeyOneIsIdentifierOne", "1", 1},
    {"KeyName", "F2", 2},
    {"KeyNameLowerCase", "f10", 10},
    {"CtrlY", "Ctrl+Y", 15},
    {"CtrlYLowerCase", "ctrl+y", 15},
    {"GermanCtrlY", "Strg+Y", 15},
    {"Zero", "0", std::nullopt},
    {"Seventeen", "17", std::nullopt},
    {"Negative", "-1", std::nullopt},
    {"TrailingText", "2x", std::nullopt},
    {"Empty", "", std::nullopt},
    {"KeyOutsideTable", "F11", std::nullopt},
    {"CtrlOtherLetter", "Ctrl+X", std::nullopt},
};

class HotKeyArgumentTable : public testing::TestWithParam<ArgumentCase> {};

TEST_P(HotKeyArgumentTable, GivesTheIdentifier) {
    EXPECT_EQ(hotKeyIdFromArgument(GetParam().argument), GetParam().id);
}

INSTANTIATE_TEST_SUITE_P(Rows, HotKeyArgumentTable, testing::ValuesIn(argumentCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quillet
