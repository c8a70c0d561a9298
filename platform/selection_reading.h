#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct wl_display;
struct wl_registry;
struct wl_registry_listener;

namespace quillet {

// What the Wayland selection readers (data-control, and a moment of keyboard focus) share.

// A connection to the compositor, with its registry.
struct WaylandConnection {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
};

// Connects and lets `listener` collect the compositor's globals into `globals` in one round
// trip. When that fails, or `missing` then names a global the reader cannot do without, says
// why in `error` and leaves nothing open (display null).
WaylandConnection connectForGlobals(const wl_registry_listener& listener, void* globals,
                                    const std::function<const char*()>& missing,
                                    std::string& error);

// Handles what the compositor sent, without blocking. False once the connection is gone.
bool dispatchWithoutBlocking(wl_display* display);

// One selection as a Wayland reader got it from the program that offers it.
struct SelectionRead {
    enum class Outcome { Text, NoText, NoAnswer };
    Outcome outcome = Outcome::NoText;
    std::string text;               // UTF-8
    std::vector<std::string> types; // every MIME type the selection was offered in
    // Further types asked for and offered, with their bytes as the owner sent them.
    std::vector<std::pair<std::string, std::string>> extras{};
    // The address of the page the text came from, where its owner offers it (UTF-8).
    std::string sourceAddress{};
};

// The text type to ask a selection for, among those offered; nullptr when it offers none.
const char* pickTextType(const std::vector<std::string>& offered);

// Hands the write end of a fresh pipe to `request` (which asks the selection's owner to
// write one type into it and flushes the request), then reads the owner's answer until
// it closes its end. NoAnswer when the owner does not finish by `deadline` (a frozen
// program must not freeze us) or sends more than any text a person selects.
SelectionRead::Outcome receiveThroughPipe(const std::function<void(int writeEnd)>& request,
                                          std::chrono::steady_clock::time_point deadline,
                                          std::string& bytes);

} // namespace quillet
