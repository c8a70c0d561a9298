#include "platform/data_control.h"

#include "platform/address_offer.h"

#include "ext-data-control-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <vector>

namespace quillet {

namespace {

// ext_data_control_v1 is wlr's protocol at version 2 under new names; one reader serves
// both through these two tables.
struct WlrProtocol {
    using Manager = zwlr_data_control_manager_v1;
    using Device = zwlr_data_control_device_v1;
    using Offer = zwlr_data_control_offer_v1;
    using DeviceListener = zwlr_data_control_device_v1_listener;
    using OfferListener = zwlr_data_control_offer_v1_listener;
    static const wl_interface& manager() { return zwlr_data_control_manager_v1_interface; }
    static bool primaryFrom(std::uint32_t version) { return version >= 2; }
    static Device* device(Manager* m, wl_seat* seat) {
        return zwlr_data_control_manager_v1_get_data_device(m, seat);
    }
    static void listen(Device* d, const DeviceListener* l, void* data) {
        zwlr_data_control_device_v1_add_listener(d, l, data);
    }
    static void listen(Offer* o, const OfferListener* l, void* data) {
        zwlr_data_control_offer_v1_add_listener(o, l, data);
    }
    static void receive(Offer* o, const char* type, int fd) {
        zwlr_data_control_offer_v1_receive(o, type, fd);
    }
    static void destroy(Manager* m) { zwlr_data_control_manager_v1_destroy(m); }
    static void destroy(Device* d) { zwlr_data_control_device_v1_destroy(d); }
    static void destroy(Offer* o) { zwlr_data_control_offer_v1_destroy(o); }
};

struct ExtProtocol {
    using Manager = ext_data_control_manager_v1;
    using Device = ext_data_control_device_v1;
    using Offer = ext_data_control_offer_v1;
    using DeviceListener = ext_data_control_device_v1_listener;
    using OfferListener = ext_data_control_offer_v1_listener;
    static const wl_interface& manager() { return ext_data_control_manager_v1_interface; }
    static bool primaryFrom(std::uint32_t) { return true; }
    static Device* device(Manager* m, wl_seat* seat) {
        return ext_data_control_manager_v1_get_data_device(m, seat);
    }
    static void listen(Device* d, const DeviceListener* l, void* data) {
        ext_data_control_device_v1_add_listener(d, l, data);
    }
    static void listen(Offer* o, const OfferListener* l, void* data) {
        ext_data_control_offer_v1_add_listener(o, l, data);
    }
    static void receive(Offer* o, const char* type, int fd) {
        ext_data_control_offer_v1_receive(o, type, fd);
    }
    static void destroy(Manager* m) { ext_data_control_manager_v1_destroy(m); }
    static void destroy(Device* d) { ext_data_control_device_v1_destroy(d); }
    static void destroy(Offer* o) { ext_data_control_offer_v1_destroy(o); }
};

// The globals a reader needs, as the registry announces them.
struct Globals {
    std::uint32_t seat = 0;
    std::uint32_t wlr = 0, wlrVersion = 0;
    std::uint32_t ext = 0, extVersion = 0;

    static void announce(void* data, wl_registry*, std::uint32_t name, const char* interface,
                         std::uint32_t version) {
        auto& g = *static_cast<Globals*>(data);
        if (std::strcmp(interface, wl_seat_interface.name) == 0 && g.seat == 0) {
            g.seat = name; // desktops have one seat; the first is the user's
        } else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0) {
            g.wlr = name;
            g.wlrVersion = std::min<std::uint32_t>(version, 2);
        } else if (std::strcmp(interface, ext_data_control_manager_v1_interface.name) == 0) {
            g.ext = name;
            g.extVersion = 1;
        }
    }
    static void remove(void*, wl_registry*, std::uint32_t) {}
};

template <class P> class ProtocolReader final : public DataControlReader {
public:
    ProtocolReader(wl_display* display, wl_registry* registry, const Globals& g, std::uint32_t name,
                   std::uint32_t version)
        : display_(display), registry_(registry), primary_(P::primaryFrom(version)) {
        seat_ = static_cast<wl_seat*>(wl_registry_bind(registry_, g.seat, &wl_seat_interface, 1));
        manager_ = static_cast<typename P::Manager*>(
            wl_registry_bind(registry_, name, &P::manager(), version));
        device_ = P::device(manager_, seat_);
        static const typename P::DeviceListener listener{&dataOffer, &selection, &finished,
                                                         &primarySelection};
        P::listen(device_, &listener, this);
    }

    ~ProtocolReader() override {
        for (auto& [offer, types] : offers_)
            P::destroy(offer);
        if (device_)
            P::destroy(device_);
        P::destroy(manager_);
        wl_seat_destroy(seat_);
        wl_registry_destroy(registry_);
        wl_display_disconnect(display_);
    }

    // The compositor announces the current selections at once; they are not news.
    bool takeInitialState() {
        if (wl_display_roundtrip(display_) < 0)
            return false;
        changes_ = {};
        return device_ != nullptr;
    }

    int fd() const override { return wl_display_get_fd(display_); }

    bool dispatchPending() override {
        return dispatchWithoutBlocking(display_) && device_ != nullptr;
    }

    bool offersPrimary() const override { return primary_; }

    unsigned changes(Selection which) const override {
        return changes_[static_cast<std::size_t>(which)];
    }

    Read readText(Selection which, std::chrono::milliseconds timeout) override {
        typename P::Offer* offer = current_[static_cast<std::size_t>(which)];
        if (!offer)
            return {};
        Read got;
        got.types = offers_[offer];
        const char* type = pickTextType(got.types);
        if (!type)
            return got;
        const Clock::time_point deadline = Clock::now() + timeout;
        got.outcome = receive(offer, type, deadline, got.text);
        const auto address = std::find_first_of(AddressTypes.begin(), AddressTypes.end(),
                                                got.types.begin(), got.types.end());
        if (got.outcome == Read::Outcome::Text && address != AddressTypes.end()) {
            // The text stands without it when the owner does not hand the address over.
            std::string page;
            if (receive(offer, std::string(*address).c_str(), deadline, page) ==
                Read::Outcome::Text)
                got.sourceAddress = addressFromOffer(*address, page);
        }
        return got;
    }

private:
    // The offer's data of one type, as its owner writes it into a pipe.
    Read::Outcome receive(typename P::Offer* offer, const char* type, Clock::time_point deadline,
                          std::string& bytes) {
        return receiveThroughPipe(
            [&](int writeEnd) {
                P::receive(offer, type, writeEnd);
                wl_display_flush(display_);
            },
            deadline, bytes);
    }

    static void dataOffer(void* data, typename P::Device*, typename P::Offer* offer) {
        auto* self = static_cast<ProtocolReader*>(data);
        static const typename P::OfferListener listener{&offerType};
        self->offers_[offer];
        P::listen(offer, &listener, self);
    }

    static void offerType(void* data, typename P::Offer* offer, const char* type) {
        static_cast<ProtocolReader*>(data)->offers_[offer].emplace_back(type);
    }

    static void selection(void* data, typename P::Device*, typename P::Offer* offer) {
        static_cast<ProtocolReader*>(data)->replace(Selection::Clipboard, offer);
    }

    static void primarySelection(void* data, typename P::Device*, typename P::Offer* offer) {
        static_cast<ProtocolReader*>(data)->replace(Selection::Primary, offer);
    }

    static void finished(void* data, typename P::Device*) {
        // The seat is gone; nothing more comes on this device.
        auto* self = static_cast<ProtocolReader*>(data);
        P::destroy(self->device_);
        self->device_ = nullptr;
        self->current_ = {};
    }

    void replace(Selection which, typename P::Offer* offer) {
        const auto slot = static_cast<std::size_t>(which);
        typename P::Offer* old = current_[slot];
        current_[slot] = offer;
        ++changes_[slot];
        if (old && old != current_[0] && old != current_[1]) {
            offers_.erase(old);
            P::destroy(old);
        }
    }

    wl_display* display_;
    wl_registry* registry_;
    wl_seat* seat_ = nullptr;
    typename P::Manager* manager_ = nullptr;
    typename P::Device* device_ = nullptr;
    bool primary_;
    std::map<typename P::Offer*, std::vector<std::string>> offers_; // offer -> its types
    std::array<typename P::Offer*, 2> current_{};                   // clipboard, primary
    std::array<unsigned, 2> changes_{};
};

} // namespace

std::unique_ptr<DataControlReader> DataControlReader::connect(std::string& error) {
    Globals globals;
    static const wl_registry_listener listener{&Globals::announce, &Globals::remove};
    const auto lacking = [&]() -> const char* {
        if (globals.seat == 0)
            return "no seat";
        return globals.ext == 0 && globals.wlr == 0 ? "no data-control" : nullptr;
    };
    const auto [display, registry] = connectForGlobals(listener, &globals, lacking, error);
    if (!display)
        return nullptr;
    // The reader owns the connection from here on.
    if (globals.ext != 0) {
        auto reader = std::make_unique<ProtocolReader<ExtProtocol>>(
            display, registry, globals, globals.ext, globals.extVersion);
        if (reader->takeInitialState())
            return reader;
    } else {
        auto reader = std::make_unique<ProtocolReader<WlrProtocol>>(
            display, registry, globals, globals.wlr, globals.wlrVersion);
        if (reader->takeInitialState())
            return reader;
    }
    error = "the data-control connection broke";
    return nullptr;
}

} // namespace quillet
