#pragma once

#include <string_view>

namespace quillet {

// Terminal emulators, told by their window: in a terminal Ctrl+C is no copy but interrupts
// the running program, so a capture there must send no key at all.

// The window in front as the desktop names it: on X11 the two parts of WM_CLASS (instance
// and class), on Wayland the application id (and, for an Xwayland window, WM_CLASS).
struct WindowIdentity {
    std::string_view windowClass;
    std::string_view instance = {};
};

// True when either name is one a known terminal emulator gives its windows, or one of
// `extraNames` (the user's own terminals, separated by ':' or ','), without regard to case.
bool isTerminalWindow(WindowIdentity window, std::string_view extraNames = {});

// The user's own terminals, for those the list does not know: the environment variable
// QUILLET_TERMINALS, names separated by ':' or ','.
std::string_view userTerminalNames();

// True for the window classes of Windows console windows: the console host, Windows
// Terminal and the common terminal programs, where Ctrl+C interrupts too.
bool isConsoleWindowClass(std::wstring_view className);

} // namespace quillet
