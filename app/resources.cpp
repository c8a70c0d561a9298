#include "app/resources.h"

#include <QFile>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerQuilletResources() {
    Q_INIT_RESOURCE(quillet);
}

namespace quillet {

void ensureResources() {
    static const bool registered = (registerQuilletResources(), true);
    (void)registered;
}

QString resourceText(const QString& path) {
    ensureResources();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace quillet
