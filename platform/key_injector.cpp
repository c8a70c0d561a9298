#include "platform/key_injector.h"

#include "fake-input-client-protocol.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

namespace quillet {

namespace {

struct Globals {
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    org_kde_kwin_fake_input* fakeInput = nullptr;
    zwp_virtual_keyboard_manager_v1* keyboards = nullptr;

    static void announce(void* data, wl_registry* registry, std::uint32_t name,
                         const char* interface, std::uint32_t version) {
        auto& g = *static_cast<Globals*>(data);
        // keyboard_key came with version 4.
        if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
            g.fakeInput = static_cast<org_kde_kwin_fake_input*>(
                wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
        else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
            g.keyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(
                wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
        else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !g.seat)
            g.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    }
    static void remove(void*, wl_registry*, std::uint32_t) {}
};

class KWinFakeInput final : public KeyInjector {
public:
    KWinFakeInput(wl_display* display, org_kde_kwin_fake_input* input)
        : KeyInjector(display, Kind::KWinFakeInput), input_(input) {
        // KWin offers the interface only to programs whose .desktop file asks for it in
        // X-KDE-Wayland-Interfaces; the reason is shown where KWin asks the user.
        org_kde_kwin_fake_input_authenticate(input_, "Quillet",
                                             "Copies the selected text when a hot key is pressed");
    }
    ~KWinFakeInput() override { org_kde_kwin_fake_input_destroy(input_); }

private:
    void key(std::uint32_t code, bool pressed) override {
        org_kde_kwin_fake_input_keyboard_key(
            input_, code, pressed ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    }

    org_kde_kwin_fake_input* input_;
};

// A "us" xkb keymap in a memory file, as a virtual keyboard takes it. Ctrl+C is the same
// key code in every layout, so this map will do for any user.
struct KeymapFile {
    xkb_keymap* keymap = nullptr;
    xkb_state* state = nullptr;
    int fd = -1;
    std::uint32_t size = 0;

    KeymapFile() = default;
    KeymapFile(const KeymapFile&) = delete;
    KeymapFile& operator=(const KeymapFile&) = delete;
    ~KeymapFile() {
        if (fd >= 0)
            close(fd);
        if (state)
            xkb_state_unref(state);
        if (keymap)
            xkb_keymap_unref(keymap);
    }

    bool build() {
        xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        const xkb_rule_names names{nullptr, nullptr, "us", nullptr, nullptr};
        keymap = context ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS)
                         : nullptr;
        if (context)
            xkb_context_unref(context);
        state = keymap ? xkb_state_new(keymap) : nullptr;
        char* text = state ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr;
        if (!text)
            return false;
        const std::size_t length = std::strlen(text) + 1; // read as a C string, NUL included
        fd = memfd_create("quillet-keymap", MFD_CLOEXEC);
        const bool written = fd >= 0 && write(fd, text, length) == static_cast<ssize_t>(length);
        std::free(text);
        size = static_cast<std::uint32_t>(length);
        return written;
    }
};

class VirtualKeyboard final : public KeyInjector {
public:
    VirtualKeyboard(wl_display* display, zwp_virtual_keyboard_v1* keyboard, KeymapFile& map)
        : KeyInjector(display, Kind::VirtualKeyboard), keyboard_(keyboard),
          keymap_(std::exchange(map.keymap, nullptr)), state_(std::exchange(map.state, nullptr)) {
        // The compositor takes no key before a keymap.
        zwp_virtual_keyboard_v1_keymap(keyboard_, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, map.fd,
                                       map.size);
    }
    ~VirtualKeyboard() override {
        zwp_virtual_keyboard_v1_destroy(keyboard_);
        xkb_state_unref(state_);
        xkb_keymap_unref(keymap_);
    }

private:
    void key(std::uint32_t code, bool pressed) override {
        using namespace std::chrono;
        const auto now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
        zwp_virtual_keyboard_v1_key(keyboard_, static_cast<std::uint32_t>(now.count()), code,
                                    pressed ? WL_KEYBOARD_KEY_STATE_PRESSED
                                            : WL_KEYBOARD_KEY_STATE_RELEASED);
        // Programs learn of Ctrl only from the modifier state, which we must send ourselves.
        xkb_state_update_key(state_, code + 8, pressed ? XKB_KEY_DOWN : XKB_KEY_UP);
        zwp_virtual_keyboard_v1_modifiers(
            keyboard_, xkb_state_serialize_mods(state_, XKB_STATE_MODS_DEPRESSED),
            xkb_state_serialize_mods(state_, XKB_STATE_MODS_LATCHED),
            xkb_state_serialize_mods(state_, XKB_STATE_MODS_LOCKED),
            xkb_state_serialize_layout(state_, XKB_STATE_LAYOUT_EFFECTIVE));
    }

    zwp_virtual_keyboard_v1* keyboard_;
    xkb_keymap* keymap_;
    xkb_state* state_;
};

} // namespace

KeyInjector::~KeyInjector() {
    wl_display_roundtrip(display_);
    wl_display_disconnect(display_);
}

bool KeyInjector::press(const std::vector<std::uint32_t>& keys) {
    for (const std::uint32_t code : keys)
        key(code, true);
    for (auto code = keys.rbegin(); code != keys.rend(); ++code)
        key(*code, false);
    return wl_display_roundtrip(display_) >= 0;
}

std::unique_ptr<KeyInjector> KeyInjector::connect(std::string& error) {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        error = "no Wayland compositor";
        return nullptr;
    }
    Globals g;
    static const wl_registry_listener listener{&Globals::announce, &Globals::remove};
    g.registry = wl_display_get_registry(display);
    wl_registry_add_listener(g.registry, &listener, &g);
    wl_display_roundtrip(display);
    wl_registry_destroy(g.registry);

    std::unique_ptr<KeyInjector> injector;
    KeymapFile keymap;
    if (g.fakeInput) {
        injector = std::make_unique<KWinFakeInput>(display, std::exchange(g.fakeInput, nullptr));
    } else if (!g.keyboards || !g.seat) {
        error = "the compositor lets no program press keys";
    } else if (!keymap.build()) {
        error = "no xkb keymap";
    } else {
        injector = std::make_unique<VirtualKeyboard>(
            display, zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(g.keyboards, g.seat),
            keymap);
    }
    if (g.fakeInput)
        org_kde_kwin_fake_input_destroy(g.fakeInput);
    if (g.keyboards)
        zwp_virtual_keyboard_manager_v1_destroy(g.keyboards);
    if (g.seat)
        wl_seat_destroy(g.seat); // the virtual keyboard keeps the seat on the compositor's side
    if (!injector) {
        wl_display_disconnect(display);
        return nullptr;
    }
    // A refusal (a protocol error) shows here rather than at the first capture.
    if (wl_display_roundtrip(display) < 0) {
        error = "the compositor refused to take keys";
        return nullptr;
    }
    return injector;
}

} // namespace quillet
