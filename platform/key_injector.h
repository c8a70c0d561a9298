#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct wl_display;

namespace quillet {

// Presses keys through the compositor's own input path, as if typed on the keyboard:
// KWin's org_kde_kwin_fake_input, or zwp_virtual_keyboard_v1 on wlroots compositors.
// One injector lives as long as the program: on a seat without a real keyboard, every new
// virtual keyboard makes the programs bind a new keyboard, and keys sent meanwhile are lost.
class KeyInjector {
public:
    enum class Kind { KWinFakeInput, VirtualKeyboard };

    // Connects to $WAYLAND_DISPLAY. Nullptr when the compositor lets no client fake keys;
    // `error` then says why.
    static std::unique_ptr<KeyInjector> connect(std::string& error);
    virtual ~KeyInjector();
    KeyInjector(const KeyInjector&) = delete;
    KeyInjector& operator=(const KeyInjector&) = delete;

    Kind kind() const { return kind_; }

    // Presses the keys (evdev codes, such as KEY_LEFTCTRL and KEY_C) in order and releases
    // them in reverse; true once the compositor has them.
    bool press(const std::vector<std::uint32_t>& keys);

protected:
    KeyInjector(wl_display* display, Kind kind) : display_(display), kind_(kind) {}
    virtual void key(std::uint32_t code, bool pressed) = 0;

    wl_display* display_;

private:
    Kind kind_;
};

} // namespace quillet
