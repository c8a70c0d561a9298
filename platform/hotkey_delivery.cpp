#include "platform/hotkey_delivery.h"

#include <QApplication>
#include <QMetaObject>

#include <utility>

namespace quillet {

void HotKeyDelivery::post(int id) {
    QMetaObject::invokeMethod(
        &context_, [this, id] { deliver(id); }, Qt::QueuedConnection);
}

void HotKeyDelivery::deliver(int id) {
    pending_.push_back(id);
    // A key waits for the one before it, except when that one waits for a box the user
    // left open (an error after F10): keys must not hang on a box behind the program the
    // user reads in.
    if (delivering_ && !QApplication::activeModalWidget())
        return;
    const bool outer = std::exchange(delivering_, true);
    while (!pending_.empty()) {
        const int next = pending_.front();
        pending_.pop_front();
        if (handler_)
            handler_(next);
    }
    delivering_ = outer;
}

} // namespace quillet
