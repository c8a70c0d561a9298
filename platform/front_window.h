#pragma once

#include <memory>
#include <optional>

namespace quillet {

// Whether a terminal emulator is in front, as a Wayland compositor tells where it has a way
// to: the Wayland protocols tell a background program nothing about other windows.
class FrontWindow {
public:
    virtual ~FrontWindow() = default;
    // Nothing when the compositor did not say.
    virtual std::optional<bool> isTerminal() = 0;
};

// sway, through its IPC socket ($SWAYSOCK): asks for the focused window at each call.
// Nullptr without the socket.
std::unique_ptr<FrontWindow> askSwayForFrontWindow();

// KWin, through a script of KWin's own scripting (over the session bus) that reports every
// window that becomes active. Nullptr without KWin on the bus.
std::unique_ptr<FrontWindow> watchKWinFrontWindow();

} // namespace quillet
