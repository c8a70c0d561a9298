#pragma once

#include <QDBusVirtualObject>

#include <functional>

namespace quillet {

// The running program's name on the session bus (its application id), through which
// `quillet --hotkey N` hands it a hot key: for compositors without a shortcut portal, and
// for keys that another program holds. Without a session bus, or while another instance
// holds the name, it stays silent.
class InstanceLink : public QDBusVirtualObject {
public:
    // Takes a hot-key identifier; false when that key is not in force.
    using KeyTaker = std::function<bool(int id)>;

    explicit InstanceLink(KeyTaker taker);
    ~InstanceLink() override;
    InstanceLink(const InstanceLink&) = delete;
    InstanceLink& operator=(const InstanceLink&) = delete;

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    KeyTaker taker_;
    bool claimed_ = false;
};

} // namespace quillet
