#include "platform/selection_reading.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

namespace quillet {

namespace {

// More is no text a person selected; refuse it rather than fill the memory.
constexpr std::size_t MaxSelectionBytes = std::size_t{16} << 20;

// Text types in the order we prefer them; every toolkit here writes UTF-8 under each.
constexpr std::array<const char*, 3> TextTypes{"text/plain;charset=utf-8", "UTF8_STRING",
                                               "text/plain"};

int millisecondsUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

SelectionRead::Outcome drain(int fd, std::chrono::steady_clock::time_point deadline,
                             std::string& bytes) {
    std::array<char, 65536> buffer;
    for (;;) {
        pollfd readable{fd, POLLIN, 0};
        const int ready = poll(&readable, 1, millisecondsUntil(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return SelectionRead::Outcome::NoAnswer; // the owner did not finish in time
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n == 0)
            return SelectionRead::Outcome::Text; // the owner wrote all and closed its end
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR)
                continue;
            return SelectionRead::Outcome::NoAnswer;
        }
        bytes.append(buffer.data(), static_cast<std::size_t>(n));
        if (bytes.size() > MaxSelectionBytes)
            return SelectionRead::Outcome::NoAnswer;
    }
}

} // namespace

WaylandConnection connectForGlobals(const wl_registry_listener& listener, void* globals,
                                    const std::function<const char*()>& missing,
                                    std::string& error) {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        error = "no Wayland compositor";
        return {};
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, globals);
    const bool answered = wl_display_roundtrip(display) >= 0;
    const char* lacking = missing();
    if (!answered || lacking) {
        error = lacking ? lacking : "the connection broke";
        wl_registry_destroy(registry);
        wl_display_disconnect(display);
        return {};
    }
    return {display, registry};
}

bool dispatchWithoutBlocking(wl_display* display) {
    while (wl_display_prepare_read(display) != 0)
        if (wl_display_dispatch_pending(display) < 0)
            return false;
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display);
        return false;
    }
    pollfd readable{wl_display_get_fd(display), POLLIN, 0};
    if (poll(&readable, 1, 0) > 0) {
        if (wl_display_read_events(display) < 0)
            return false;
    } else {
        wl_display_cancel_read(display);
    }
    return wl_display_dispatch_pending(display) >= 0;
}

const char* pickTextType(const std::vector<std::string>& offered) {
    const auto type =
        std::find_first_of(TextTypes.begin(), TextTypes.end(), offered.begin(), offered.end());
    return type == TextTypes.end() ? nullptr : *type;
}

SelectionRead::Outcome receiveThroughPipe(const std::function<void(int writeEnd)>& request,
                                          std::chrono::steady_clock::time_point deadline,
                                          std::string& bytes) {
    bytes.clear();
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return SelectionRead::Outcome::NoAnswer;
    request(ends[1]);
    close(ends[1]); // the request carries its own copy to the owner
    const SelectionRead::Outcome got = drain(ends[0], deadline, bytes);
    close(ends[0]);
    if (got != SelectionRead::Outcome::Text)
        bytes.clear();
    return got;
}

} // namespace quillet
