#pragma once

#include "platform/platform.h"

#include <QObject>

#include <deque>

namespace quillet {

// Hands pressed hot keys to the handler the way the system's message queue does: later,
// from the event loop, one at a time and in order. The handler waits and may open dialogs,
// which must not happen inside a native event filter; and a key that arrives while the
// handler runs (its waits may process events) is handled after it, not inside it, unless
// the handler waits for a message box to be closed.
class HotKeyDelivery {
public:
    void setHandler(PlatformBackend::HotKeyHandler handler) { handler_ = std::move(handler); }
    void post(int id);

private:
    void deliver(int id);

    PlatformBackend::HotKeyHandler handler_;
    std::deque<int> pending_;
    bool delivering_ = false;
    QObject context_; // queued deliveries die with it
};

} // namespace quillet
