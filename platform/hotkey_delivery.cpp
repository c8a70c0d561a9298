#include "platform/hotkey_delivery.h"

#include <QMetaObject>

namespace quillet {

void HotKeyDelivery::post(int id) {
    QMetaObject::invokeMethod(
        &context_, [this, id] { deliver(id); }, Qt::QueuedConnection);
}

void HotKeyDelivery::deliver(int id) {
    pending_.push_back(id);
    if (delivering_)
        return;
    delivering_ = true;
    while (!pending_.empty()) {
        const int next = pending_.front();
        pending_.pop_front();
        if (handler_)
            handler_(next);
    }
    delivering_ = false;
}

} // namespace quillet
