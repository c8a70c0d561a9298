#pragma once

#include "platform/selection_reading.h"

#include <chrono>
#include <memory>
#include <string>

namespace quillet {

enum class Selection { Clipboard, Primary };

// Reads the Wayland CLIPBOARD and PRIMARY selections from the background through the
// data-control protocol (ext_data_control_v1, or wlr's zwlr_data_control_manager_v1). It
// keeps a libwayland connection of its own, so it works whatever Qt platform the windows
// use (XWayland included).
class DataControlReader {
public:
    using Clock = std::chrono::steady_clock;

    // Connects to $WAYLAND_DISPLAY. Nullptr when there is no compositor or it offers no
    // data-control; `error` then says which.
    static std::unique_ptr<DataControlReader> connect(std::string& error);
    virtual ~DataControlReader() = default;

    // The connection's file descriptor: readable means dispatchPending() has work.
    virtual int fd() const = 0;
    // Handles what the compositor sent, without blocking. False once the connection is gone.
    virtual bool dispatchPending() = 0;

    virtual bool offersPrimary() const = 0;
    // How often the selection changed since the connection was made; what it held before
    // counts as nothing new.
    virtual unsigned changes(Selection which) const = 0;

    using Read = SelectionRead;
    // The selection's text, the types it is offered in and the page's address beside it.
    // NoText when it is empty or offers no text; NoAnswer when its owner does not hand the
    // text over within the timeout (a frozen program must not freeze us) or it is larger
    // than any text a person selects.
    virtual Read readText(Selection which, std::chrono::milliseconds timeout) = 0;
};

} // namespace quillet
