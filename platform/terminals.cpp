#include "platform/terminals.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace quillet {

namespace {

// Window classes (either part of WM_CLASS) and Wayland application ids of the terminal
// emulators Debian ships, in lower case. Exact names only: "st" must not catch "stellarium".
constexpr std::array<std::string_view, 34> TerminalNames{
    "xterm", // xterm and uxterm: XTerm, UXTerm
    "uxterm",
    "urxvt", // rxvt-unicode: urxvt or rxvt, URxvt
    "rxvt",
    "rxvt-unicode",
    "gnome-terminal",
    "gnome-terminal-server",
    "org.gnome.terminal", // GNOME Terminal on Wayland
    "konsole",
    "org.kde.konsole", // Konsole on Wayland
    "xfce4-terminal",
    "mate-terminal",
    "lxterminal",
    "qterminal",
    "terminator",
    "tilix",
    "com.gexperts.tilix", // Tilix on Wayland
    "alacritty",
    "kitty",
    "foot",
    "footclient",
    "org.wezfurlong.wezterm", // WezTerm
    "st",                     // st (Debian's stterm): st-256color
    "st-256color",
    "terminology",
    "sakura",
    "org.gnome.console", // GNOME Console
    "kgx",
    "yakuake",
    "org.kde.yakuake",
    "guake",
    "tilda",
    "cool-retro-term",
    "mlterm",
};

// Win32 class names of windows where Ctrl+C interrupts.
constexpr std::array<std::wstring_view, 6> ConsoleClasses{
    L"ConsoleWindowClass",            // the console host
    L"CASCADIA_HOSTING_WINDOW_CLASS", // Windows Terminal
    L"WineConsoleClass",              // Wine's console: what wineconsole and start open
    L"mintty",                        // Git Bash, Cygwin
    L"PuTTY",
    L"VirtualConsoleClass", // ConEmu
};

template <typename Char>
bool sameIgnoringCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    const auto lower = [](Char c) { return c >= 'A' && c <= 'Z' ? Char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](Char x, Char y) { return lower(x) == lower(y); });
}

bool isAmong(std::string_view name, std::string_view list) {
    while (!list.empty()) {
        const std::size_t end = std::min(list.find_first_of(":,"), list.size());
        if (end > 0 && sameIgnoringCase(name, list.substr(0, end)))
            return true;
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    return false;
}

bool namesTerminal(std::string_view name, std::string_view extraNames) {
    if (name.empty())
        return false;
    return std::any_of(TerminalNames.begin(), TerminalNames.end(),
                       [&](std::string_view known) { return sameIgnoringCase(name, known); }) ||
           isAmong(name, extraNames);
}

} // namespace

bool isTerminalWindow(WindowIdentity window, std::string_view extraNames) {
    return namesTerminal(window.windowClass, extraNames) ||
           namesTerminal(window.instance, extraNames);
}

std::string_view userTerminalNames() {
    const char* names = std::getenv("QUILLET_TERMINALS");
    return names ? std::string_view(names) : std::string_view();
}

bool isConsoleWindowClass(std::wstring_view className) {
    return std::any_of(ConsoleClasses.begin(), ConsoleClasses.end(),
                       [&](std::wstring_view known) { return sameIgnoringCase(className, known); });
}

} // namespace quillet
