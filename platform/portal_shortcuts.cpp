#include "platform/portal_shortcuts.h"

#include "globalshortcuts_interface.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

#include <utility>

namespace quillet {

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalObject = QStringLiteral("/org/freedesktop/portal/desktop");

// Plasma 5.27 names its store of the bindings after this token when the portal knows no
// application id; a fixed one keeps one entry there instead of a new one per start.
const QString SessionToken = QStringLiteral("quillet");

using ShortcutList = QList<QPair<QString, QVariantMap>>;

void registerTypes() {
    // Without these QtDBus 6.4 drops the Activated signal (it carries an object path)
    // without a word, and cannot marshal a(sa{sv}) inside a variant.
    static const bool registered = [] {
        qRegisterMetaType<QDBusObjectPath>();
        qDBusRegisterMetaType<QPair<QString, QVariantMap>>();
        qDBusRegisterMetaType<ShortcutList>();
        return true;
    }();
    (void)registered;
}

QString senderPart(const QString& uniqueName) {
    QString part = uniqueName.startsWith(QLatin1Char(':')) ? uniqueName.mid(1) : uniqueName;
    return part.replace(QLatin1Char('.'), QLatin1Char('_'));
}

// Portals put object paths into their answers as "o" or as "s".
QString pathOf(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

} // namespace

GlobalShortcutsClient::GlobalShortcutsClient(QDBusConnection bus, int answerTimeoutMs,
                                             QObject* parent)
    : QObject(parent), bus_(std::move(bus)), timeoutMs_(answerTimeoutMs) {
    registerTypes();
    portal_ =
        new OrgFreedesktopPortalGlobalShortcutsInterface(PortalService, PortalObject, bus_, this);
    bus_.connect(PortalService, PortalObject,
                 QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
                 QStringLiteral("Activated"), this, SLOT(takeActivation(QDBusMessage)));
}

GlobalShortcutsClient::~GlobalShortcutsClient() {
    for (auto it = pending_.cbegin(); it != pending_.cend(); ++it)
        listen(it.key(), false);
}

QString GlobalShortcutsClient::requestPath(const QString& uniqueName, const QString& token) {
    return PortalObject + QStringLiteral("/request/") + senderPart(uniqueName) + QLatin1Char('/') +
           token;
}

QString GlobalShortcutsClient::newToken() {
    return QStringLiteral("quillet%1").arg(++tokens_);
}

QVariant GlobalShortcutsClient::shortcutList() const {
    ShortcutList list;
    for (const PortalShortcut& s : shortcuts_)
        list.append({s.id,
                     {{QStringLiteral("description"), s.description},
                      {QStringLiteral("preferred_trigger"), s.trigger}}});
    return QVariant::fromValue(list);
}

void GlobalShortcutsClient::start(const QString& appId, const QList<PortalShortcut>& shortcuts) {
    shortcuts_ = shortcuts;
    if (appId.isEmpty()) {
        createSession();
        return;
    }
    // Portals from 1.19.4 on want the application's id before any other call; older ones
    // do not know the interface, and that is fine.
    QDBusMessage registration = QDBusMessage::createMethodCall(
        PortalService, PortalObject, QStringLiteral("org.freedesktop.host.portal.Registry"),
        QStringLiteral("Register"));
    registration << appId << QVariantMap();
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(registration), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (w->isError() && w->error().type() == QDBusError::ServiceUnknown) {
            Q_EMIT failed(Stage::CreateSession, CallFailed,
                          w->error().name() + QStringLiteral(": ") + w->error().message());
            return;
        }
        createSession();
    });
}

void GlobalShortcutsClient::createSession() {
    const QString token = newToken();
    // Plasma 5.27 binds only the shortcuts it is given here; later versions take them
    // from BindShortcuts. Both get them.
    const QVariantMap options{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("session_handle_token"), SessionToken},
                              {QStringLiteral("shortcuts"), shortcutList()}};
    request(
        Stage::CreateSession, token, [this, options] { return portal_->CreateSession(options); },
        [this](unsigned code, const QVariantMap& results) {
            if (code != 0) {
                Q_EMIT failed(Stage::CreateSession, code, {});
                return;
            }
            session_ = pathOf(results.value(QStringLiteral("session_handle")));
            bindShortcuts();
        });
}

void GlobalShortcutsClient::bindShortcuts() {
    const QString token = newToken();
    request(
        Stage::BindShortcuts, token,
        [this, token] {
            return portal_->BindShortcuts(QDBusObjectPath(session_),
                                          qvariant_cast<ShortcutList>(shortcutList()), QString(),
                                          {{QStringLiteral("handle_token"), token}});
        },
        [this](unsigned code, const QVariantMap& results) {
            if (code != 0) {
                Q_EMIT failed(Stage::BindShortcuts, code, {});
                return;
            }
            QStringList ids;
            const auto got = qdbus_cast<ShortcutList>(results.value(QStringLiteral("shortcuts")));
            for (const auto& shortcut : got)
                ids << shortcut.first;
            Q_EMIT bound(ids);
        });
}

void GlobalShortcutsClient::request(Stage stage, const QString& token,
                                    const std::function<QDBusPendingCall()>& call,
                                    ResponseHandler handler) {
    const QString path = requestPath(bus_.baseService(), token);
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, timer] {
        for (auto it = pending_.cbegin(); it != pending_.cend(); ++it)
            if (it->timer == timer)
                return finish(it.key(), NoAnswer, {});
    });
    pending_.insert(path, Pending{stage, std::move(handler), timer});
    listen(path, true);

    auto* watcher = new QDBusPendingCallWatcher(call(), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, path, stage](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *w;
                if (reply.isError()) {
                    if (const auto it = pending_.find(path); it != pending_.end()) {
                        it->timer->deleteLater();
                        pending_.erase(it);
                        listen(path, false);
                        Q_EMIT failed(stage, CallFailed,
                                      reply.error().name() + QStringLiteral(": ") +
                                          reply.error().message());
                    }
                    return;
                }
                // Portals before 0.9 ignore the token; follow the path they chose.
                const QString chosen = reply.value().path();
                if (chosen != path && pending_.contains(path)) {
                    pending_.insert(chosen, pending_.take(path));
                    listen(path, false);
                    listen(chosen, true);
                }
                if (const auto it = pending_.find(chosen); it != pending_.end())
                    it->timer->start(timeoutMs_);
            });
}

void GlobalShortcutsClient::listen(const QString& path, bool on) {
    const QString interface = QStringLiteral("org.freedesktop.portal.Request");
    const QString signal = QStringLiteral("Response");
    if (on)
        bus_.connect(PortalService, path, interface, signal, this,
                     SLOT(takeResponse(QDBusMessage)));
    else
        bus_.disconnect(PortalService, path, interface, signal, this,
                        SLOT(takeResponse(QDBusMessage)));
}

void GlobalShortcutsClient::takeResponse(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2)
        return;
    finish(message.path(), arguments.at(0).toUInt(), qdbus_cast<QVariantMap>(arguments.at(1)));
}

void GlobalShortcutsClient::finish(const QString& path, unsigned code, const QVariantMap& results) {
    const auto it = pending_.find(path);
    if (it == pending_.end())
        return;
    const QString key = it.key(); // `path` may be that very key, gone with the erase
    Pending done = std::move(it.value());
    pending_.erase(it);
    listen(key, false);
    done.timer->deleteLater();
    done.handler(code, results);
}

void GlobalShortcutsClient::takeActivation(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || session_.isEmpty())
        return;
    // Other programs' sessions send their activations on the same object.
    if (pathOf(arguments.at(0)) == session_)
        Q_EMIT activated(arguments.at(1).toString());
}

} // namespace quillet
