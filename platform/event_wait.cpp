#include "platform/event_wait.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace quillet {

bool waitProcessingEvents(int timeoutMs, const std::function<bool()>& done, int fd, int pollMs) {
    const QDeadlineTimer deadline(timeoutMs);
    QEventLoop loop;
    QTimer wake;
    wake.setSingleShot(true);
    QObject::connect(&wake, &QTimer::timeout, &loop, &QEventLoop::quit);
    std::optional<QSocketNotifier> readable;
    if (fd >= 0) {
        readable.emplace(static_cast<qintptr>(fd), QSocketNotifier::Read);
        QObject::connect(&*readable, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    }
    while (!done()) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return false;
        wake.start(static_cast<int>(pollMs > 0 ? std::min<qint64>(left, pollMs) : left));
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}

} // namespace quillet
