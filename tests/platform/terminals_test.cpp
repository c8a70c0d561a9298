// The windows a capture sends no key to, by the names the real programs give them (read
// with xprop and swaymsg from the running programs where Debian's packages ran here, else
// from their .desktop files and sources).
#include "platform/terminals.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

struct WindowCase {
    const char* name;
    const char* windowClass;
    const char* instance;
    const char* userNames; // QUILLET_TERMINALS
    bool terminal;
};
void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const WindowCase windowCases[] = {
    {"Xterm", "XTerm", "xterm", "", true},
    {"Uxterm", "UXTerm", "xterm", "", true},
    {"XtermOnKWinInLowerCase", "xterm", "xterm", "", true},
    {"Urxvt", "URxvt", "urxvt", "", true},
    {"GnomeTerminal", "Gnome-terminal", "gnome-terminal-server", "", true},
    {"GnomeTerminalOnWayland", "org.gnome.Terminal", "", "", true},
    {"Konsole", "konsole", "konsole", "", true},
    {"KonsoleOnWayland", "org.kde.konsole", "", "", true},
    {"Xfce4Terminal", "Xfce4-terminal", "xfce4-terminal", "", true},
    {"MateTerminal", "Mate-terminal", "mate-terminal", "", true},
    {"Lxterminal", "Lxterminal", "lxterminal", "", true},
    {"Qterminal", "qterminal", "qterminal", "", true},
    {"Terminator", "Terminator", "terminator", "", true},
    {"TilixOnWayland", "com.gexperts.Tilix", "", "", true},
    {"Alacritty", "Alacritty", "Alacritty", "", true},
    {"Kitty", "kitty", "kitty", "", true},
    {"FootOnWayland", "foot", "", "", true},
    {"Footclient", "footclient", "", "", true},
    {"Wezterm", "org.wezfurlong.wezterm", "org.wezfurlong.wezterm", "", true},
    {"St", "st-256color", "st-256color", "", true},
    {"Terminology", "terminology", "terminology", "", true},
    {"Sakura", "Sakura", "sakura", "", true},
    {"InstanceAloneTells", "Whatever", "xterm", "", true},
    {"Firefox", "firefox", "Navigator", "", false},
    {"Evince", "Evince", "evince", "", false},
    {"QuilletItself", "Quillet", "quillet", "", false},
    {"NamesOnlyWhole", "Stellarium", "stellarium", "", false},
    {"NoNameAtAll", "", "", "", false},
    {"UnknownTerminal", "Eterm", "Eterm", "", false},
    {"UserNamesIt", "Eterm", "Eterm", "myterm:eterm", true},
    {"UserNamesItWithCommas", "com.example.Term", "", "a,com.example.term,b", true},
    {"UserListOfSeparatorsOnly", "", "", ":,:", false},
    {"UserNamesOnlyWhole", "Eterm", "", "eter:eterm2", false},
};
// clang-format on

class TerminalWindows : public testing::TestWithParam<WindowCase> {};

TEST_P(TerminalWindows, AreToldByTheirNames) {
    const WindowCase& c = GetParam();
    EXPECT_EQ(isTerminalWindow({c.windowClass, c.instance}, c.userNames), c.terminal);
}

INSTANTIATE_TEST_SUITE_P(Rows, TerminalWindows, testing::ValuesIn(windowCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ConsoleCase {
    const char* name;
    const wchar_t* className;
    bool console;
};
void PrintTo(const ConsoleCase& c, std::ostream* os) {
    *os << c.name;
}

const ConsoleCase consoleCases[] = {
    {"ConsoleHost", L"ConsoleWindowClass", true},
    {"ClassNamesIgnoreCase", L"consolewindowclass", true},
    {"WindowsTerminal", L"CASCADIA_HOSTING_WINDOW_CLASS", true},
    {"WineConsole", L"WineConsoleClass", true},
    {"Mintty", L"mintty", true},
    {"Putty", L"PuTTY", true},
    {"Notepad", L"Notepad", false},
    {"Chromium", L"Chrome_WidgetWin_1", false},
    {"LongerName", L"ConsoleWindowClassic", false},
    {"Empty", L"", false},
};

class ConsoleWindows : public testing::TestWithParam<ConsoleCase> {};

TEST_P(ConsoleWindows, AreToldByTheirClass) {
    EXPECT_EQ(isConsoleWindowClass(GetParam().className), GetParam().console);
}

INSTANTIATE_TEST_SUITE_P(Rows, ConsoleWindows, testing::ValuesIn(consoleCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quillet
