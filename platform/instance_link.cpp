#include "platform/instance_link.h"

#include "platform/platform.h"
#include "quillet_version.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <utility>

namespace quillet {

namespace {

const QString ObjectPath = QStringLiteral("/org/quillet/Quillet");
const QString PressMethod = QStringLiteral("PressHotKey");
// A capture blocks the program for up to a few seconds; the key waits its turn.
constexpr int AnswerTimeoutMs = 10000;

// The bus name and the interface.
QString appId() {
    return QString::fromLatin1(AppId.data(), static_cast<qsizetype>(AppId.size()));
}

} // namespace

InstanceLink::InstanceLink(KeyTaker taker) : taker_(std::move(taker)) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The object first: a caller that sees the name finds it.
    if (!bus.isConnected() || !bus.registerVirtualObject(ObjectPath, this))
        return;
    claimed_ = bus.registerService(appId());
    if (!claimed_)
        bus.unregisterObject(ObjectPath);
}

InstanceLink::~InstanceLink() {
    if (!claimed_)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(appId());
    bus.unregisterObject(ObjectPath);
}

QString InstanceLink::introspect(const QString&) const {
    return QStringLiteral("<interface name=\"%1\"><method name=\"%2\">"
                          "<arg name=\"id\" type=\"i\" direction=\"in\"/>"
                          "<arg name=\"taken\" type=\"b\" direction=\"out\"/>"
                          "</method></interface>")
        .arg(appId(), PressMethod);
}

bool InstanceLink::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.interface() != appId() || message.member() != PressMethod ||
        message.signature() != QLatin1String("i"))
        return false;
    const bool taken = taker_(message.arguments().at(0).toInt());
    connection.send(message.createReply(taken));
    return true;
}

HandOff handHotKeyToRunningInstance(int id) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return HandOff::NoInstance;
    QDBusMessage call = QDBusMessage::createMethodCall(appId(), ObjectPath, appId(), PressMethod)
                        << id;
    call.setAutoStartService(false); // a key press never starts the program
    const QDBusMessage reply = bus.call(call, QDBus::Block, AnswerTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return reply.arguments().value(0).toBool() ? HandOff::Taken : HandOff::KeyOff;
    // A name that nobody owns: NameHasNoOwner without auto-start, ServiceUnknown with it.
    const QString error = reply.errorName();
    if (error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
        error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown"))
        return HandOff::NoInstance;
    return HandOff::NoAnswer;
}

} // namespace quillet
