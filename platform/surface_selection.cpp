#include "platform/surface_selection.h"

#include "primary-selection-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

namespace quillet {

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

// The globals the reader needs, as the registry announces them.
struct Globals {
    std::uint32_t compositor = 0, shm = 0, wmBase = 0, seat = 0, primary = 0;

    static void announce(void* data, wl_registry*, std::uint32_t name, const char* interface,
                         std::uint32_t) {
        auto& g = *static_cast<Globals*>(data);
        const std::pair<const wl_interface*, std::uint32_t*> wanted[] = {
            {&wl_compositor_interface, &g.compositor},
            {&wl_shm_interface, &g.shm},
            {&xdg_wm_base_interface, &g.wmBase},
            {&wl_seat_interface, &g.seat}, // desktops have one seat; the first is the user's
            {&zwp_primary_selection_device_manager_v1_interface, &g.primary},
        };
        for (const auto& [known, slot] : wanted)
            if (std::strcmp(interface, known->name) == 0 && *slot == 0)
                *slot = name;
    }
    static void remove(void*, wl_registry*, std::uint32_t) {}

    const char* missing() const {
        if (seat == 0)
            return "no seat";
        if (primary == 0)
            return "no primary selection";
        if (compositor == 0 || shm == 0 || wmBase == 0)
            return "no windows (xdg-shell)";
        return nullptr;
    }
};

class Reader final : public SurfaceSelectionReader {
public:
    Reader(wl_display* display, wl_registry* registry, const Globals& g)
        : display_(display), registry_(registry) {
        compositor_ = bind<wl_compositor>(g.compositor, wl_compositor_interface);
        shm_ = bind<wl_shm>(g.shm, wl_shm_interface);
        wmBase_ = bind<xdg_wm_base>(g.wmBase, xdg_wm_base_interface);
        seat_ = bind<wl_seat>(g.seat, wl_seat_interface);
        manager_ = bind<zwp_primary_selection_device_manager_v1>(
            g.primary, zwp_primary_selection_device_manager_v1_interface);
        static const xdg_wm_base_listener wmListener{&ping};
        xdg_wm_base_add_listener(wmBase_, &wmListener, this);
        // Bound at version 1: the events of later versions never come.
        static const wl_seat_listener seatListener{&capabilities, nullptr};
        wl_seat_add_listener(seat_, &seatListener, this);
        device_ = zwp_primary_selection_device_manager_v1_get_device(manager_, seat_);
        static const zwp_primary_selection_device_v1_listener deviceListener{&dataOffer,
                                                                             &selection};
        zwp_primary_selection_device_v1_add_listener(device_, &deviceListener, this);
    }

    ~Reader() override {
        forgetOffers();
        if (keyboard_)
            wl_keyboard_destroy(keyboard_);
        zwp_primary_selection_device_v1_destroy(device_);
        zwp_primary_selection_device_manager_v1_destroy(manager_);
        wl_seat_destroy(seat_);
        xdg_wm_base_destroy(wmBase_);
        if (pool_)
            wl_shm_pool_destroy(pool_);
        wl_shm_destroy(shm_);
        wl_compositor_destroy(compositor_);
        wl_registry_destroy(registry_);
        wl_display_disconnect(display_);
    }

    // The seat's keyboard and a pool for the window's one pixel.
    bool prepare() {
        if (wl_display_roundtrip(display_) < 0)
            return false;
        const int memory = memfd_create("quillet-pixel", MFD_CLOEXEC);
        if (memory < 0)
            return false;
        const bool sized = ftruncate(memory, 4) == 0; // one transparent ARGB pixel, zeroed
        if (sized)
            pool_ = wl_shm_create_pool(shm_, memory, 4);
        close(memory);
        return sized && wl_display_roundtrip(display_) >= 0;
    }

    SelectionRead read(std::chrono::milliseconds timeout,
                       const std::vector<std::string>& extraTypes) override {
        const Clock::time_point deadline = Clock::now() + timeout;
        SelectionRead got{SelectionRead::Outcome::NoAnswer, {}, {}};
        if (!dispatchWithoutBlocking(display_) || !keyboard_)
            return got; // without a keyboard nothing ever has the focus
        // What an earlier focus offered may have changed since; only this focus counts.
        forgetOffers();
        {
            const Window window(*this);
            if (!pumpUntil(deadline, [&] { return window.configured(); }))
                return got;
            window.show();
            if (!pumpUntil(deadline, [&] { return focused_; }) || !settle(deadline))
                return got;
            got.outcome = SelectionRead::Outcome::NoText;
            if (!current_)
                return got; // nothing is highlighted
            got.types = offers_[current_];
            if (const char* type = pickTextType(got.types)) {
                got.outcome = receive(type, deadline, got.text);
                for (const std::string& extra : extraTypes) {
                    if (got.outcome != SelectionRead::Outcome::Text)
                        break;
                    if (std::find(got.types.begin(), got.types.end(), extra) == got.types.end())
                        continue;
                    std::string bytes;
                    if (receive(extra.c_str(), deadline, bytes) == SelectionRead::Outcome::Text)
                        got.extras.emplace_back(extra, std::move(bytes));
                }
            }
        } // the window goes once all is read: the owner answers only while we hold the focus
        wl_display_flush(display_);
        forgetOffers();
        return got;
    }

private:
    // The window of one read: a toplevel of one transparent pixel, gone with this object.
    class Window {
    public:
        explicit Window(Reader& reader) : reader_(reader) {
            reader_.focused_ = false;
            surface_ = wl_compositor_create_surface(reader_.compositor_);
            xdgSurface_ = xdg_wm_base_get_xdg_surface(reader_.wmBase_, surface_);
            static const xdg_surface_listener surfaceListener{&configure};
            xdg_surface_add_listener(xdgSurface_, &surfaceListener, this);
            toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
            static const xdg_toplevel_listener toplevelListener{&toplevelConfigure, &close, nullptr,
                                                                nullptr};
            xdg_toplevel_add_listener(toplevel_, &toplevelListener, this);
            // The name the desktop shows for the moment the window has the focus.
            xdg_toplevel_set_title(toplevel_, "Quillet");
            xdg_toplevel_set_app_id(toplevel_, "org.quillet.Quillet");
            reader_.surface_ = surface_;
            wl_surface_commit(surface_); // asks for the first configure
            wl_display_flush(reader_.display_);
        }
        ~Window() {
            // Unmapped before it goes: GNOME Shell hands the focus back at once then; for a
            // window destroyed while mapped it took some 170 ms more here.
            wl_surface_attach(surface_, nullptr, 0, 0);
            wl_surface_commit(surface_);
            reader_.surface_ = nullptr;
            reader_.focused_ = false;
            xdg_toplevel_destroy(toplevel_);
            xdg_surface_destroy(xdgSurface_);
            wl_surface_destroy(surface_);
            if (buffer_)
                wl_buffer_destroy(buffer_);
            wl_display_flush(reader_.display_);
        }
        Window(const Window&) = delete;
        Window& operator=(const Window&) = delete;

        bool configured() const { return configureSerial_ != 0; }

        // A surface is mapped with its first buffer, after the configure is acknowledged.
        void show() const {
            xdg_surface_ack_configure(xdgSurface_, configureSerial_);
            buffer_ = wl_shm_pool_create_buffer(reader_.pool_, 0, 1, 1, 4, WL_SHM_FORMAT_ARGB8888);
            wl_surface_attach(surface_, buffer_, 0, 0);
            wl_surface_damage(surface_, 0, 0, 1, 1);
            wl_surface_commit(surface_);
            wl_display_flush(reader_.display_);
        }

    private:
        static void configure(void* data, xdg_surface*, std::uint32_t serial) {
            static_cast<Window*>(data)->configureSerial_ = serial;
        }
        static void toplevelConfigure(void*, xdg_toplevel*, std::int32_t, std::int32_t, wl_array*) {
        }
        static void close(void*, xdg_toplevel*) {}

        Reader& reader_;
        wl_surface* surface_;
        xdg_surface* xdgSurface_;
        xdg_toplevel* toplevel_;
        mutable wl_buffer* buffer_ = nullptr;
        std::uint32_t configureSerial_ = 0;
    };

    template <class T> T* bind(std::uint32_t name, const wl_interface& interface) {
        return static_cast<T*>(wl_registry_bind(registry_, name, &interface, 1));
    }

    // Dispatches the compositor's events until `done` or the deadline.
    bool pumpUntil(Clock::time_point deadline, const std::function<bool()>& done) {
        for (;;) {
            if (!dispatchWithoutBlocking(display_))
                return false;
            if (done())
                return true;
            const int left = millisecondsUntil(deadline);
            if (left == 0)
                return false;
            pollfd readable{wl_display_get_fd(display_), POLLIN, 0};
            poll(&readable, 1, left);
        }
    }

    // The selection comes with the focus; a round trip makes sure it has arrived.
    bool settle(Clock::time_point deadline) {
        bool done = false;
        wl_callback* sync = wl_display_sync(display_);
        static const wl_callback_listener listener{
            [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }};
        wl_callback_add_listener(sync, &listener, &done);
        const bool settled = pumpUntil(deadline, [&] { return done; });
        wl_callback_destroy(sync);
        return settled;
    }

    SelectionRead::Outcome receive(const char* type, Clock::time_point deadline,
                                   std::string& bytes) {
        return receiveThroughPipe(
            [&](int writeEnd) {
                zwp_primary_selection_offer_v1_receive(current_, type, writeEnd);
                wl_display_flush(display_);
            },
            deadline, bytes);
    }

    void forgetOffers() {
        for (auto& [offer, types] : offers_)
            zwp_primary_selection_offer_v1_destroy(offer);
        offers_.clear();
        current_ = nullptr;
    }

    static void ping(void*, xdg_wm_base* base, std::uint32_t serial) {
        xdg_wm_base_pong(base, serial);
    }

    static void capabilities(void* data, wl_seat* seat, std::uint32_t caps) {
        auto* self = static_cast<Reader*>(data);
        const bool hasKeyboard = caps & WL_SEAT_CAPABILITY_KEYBOARD;
        if (hasKeyboard && !self->keyboard_) {
            self->keyboard_ = wl_seat_get_keyboard(seat);
            static const wl_keyboard_listener listener{&keymap, &enter,     &leave,
                                                       &key,    &modifiers, nullptr};
            wl_keyboard_add_listener(self->keyboard_, &listener, self);
        } else if (!hasKeyboard && self->keyboard_) {
            wl_keyboard_destroy(self->keyboard_);
            self->keyboard_ = nullptr;
        }
    }

    static void keymap(void*, wl_keyboard*, std::uint32_t, int fd, std::uint32_t) { ::close(fd); }
    static void enter(void* data, wl_keyboard*, std::uint32_t, wl_surface* surface, wl_array*) {
        auto* self = static_cast<Reader*>(data);
        self->focused_ = surface && surface == self->surface_;
    }
    static void leave(void* data, wl_keyboard*, std::uint32_t, wl_surface*) {
        static_cast<Reader*>(data)->focused_ = false;
    }
    static void key(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t,
                    std::uint32_t) {}
    static void modifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t,
                          std::uint32_t, std::uint32_t) {}

    static void dataOffer(void* data, zwp_primary_selection_device_v1*,
                          zwp_primary_selection_offer_v1* offer) {
        auto* self = static_cast<Reader*>(data);
        static const zwp_primary_selection_offer_v1_listener listener{&offerType};
        self->offers_[offer];
        zwp_primary_selection_offer_v1_add_listener(offer, &listener, self);
    }
    static void offerType(void* data, zwp_primary_selection_offer_v1* offer, const char* type) {
        static_cast<Reader*>(data)->offers_[offer].emplace_back(type);
    }
    static void selection(void* data, zwp_primary_selection_device_v1*,
                          zwp_primary_selection_offer_v1* offer) {
        auto* self = static_cast<Reader*>(data);
        self->current_ = offer;
    }

    wl_display* display_;
    wl_registry* registry_;
    wl_compositor* compositor_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_shm_pool* pool_ = nullptr;
    xdg_wm_base* wmBase_ = nullptr;
    wl_seat* seat_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
    zwp_primary_selection_device_manager_v1* manager_ = nullptr;
    zwp_primary_selection_device_v1* device_ = nullptr;
    wl_surface* surface_ = nullptr; // the window of the read under way
    bool focused_ = false;
    std::map<zwp_primary_selection_offer_v1*, std::vector<std::string>> offers_;
    zwp_primary_selection_offer_v1* current_ = nullptr;
};

} // namespace

std::unique_ptr<SurfaceSelectionReader> SurfaceSelectionReader::connect(std::string& error) {
    Globals globals;
    static const wl_registry_listener listener{&Globals::announce, &Globals::remove};
    const auto [display, registry] = connectForGlobals(
        listener, &globals, [&] { return globals.missing(); }, error);
    if (!display)
        return nullptr;
    // The reader owns the connection from here on.
    auto reader = std::make_unique<Reader>(display, registry, globals);
    if (reader->prepare())
        return reader;
    error = "the connection broke";
    return nullptr;
}

} // namespace quillet
