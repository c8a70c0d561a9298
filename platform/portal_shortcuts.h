#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

class OrgFreedesktopPortalGlobalShortcutsInterface;
class QTimer;

namespace quillet {

// One shortcut as the portal takes it. The trigger is in the freedesktop shortcut format:
// "F1", "1", "CTRL+y".
struct PortalShortcut {
    QString id;
    QString description;
    QString trigger;
};

// A client of the desktop's GlobalShortcuts portal: names the application, opens one
// session, binds the shortcuts and reports the activations of that session only.
class GlobalShortcutsClient : public QObject {
    Q_OBJECT
public:
    enum class Stage { CreateSession, BindShortcuts };
    // What went wrong, beside the portal's own answers 1 (cancelled) and 2 (failed).
    static constexpr unsigned NoAnswer = 3;
    static constexpr unsigned CallFailed = 4;

    // The portal answers through signals; a desktop that asks the user first (Plasma 6)
    // answers when the user has chosen, so the wait for an answer is long.
    explicit GlobalShortcutsClient(QDBusConnection bus, int answerTimeoutMs = 120000,
                                   QObject* parent = nullptr);
    ~GlobalShortcutsClient() override;

    // `appId` may be empty: then the registry is not asked.
    void start(const QString& appId, const QList<PortalShortcut>& shortcuts);

    // The request's object path that the portal derives from our bus name and a token.
    static QString requestPath(const QString& uniqueName, const QString& token);

Q_SIGNALS:
    void bound(const QStringList& ids);
    // `code`: 1 cancelled by the user, 2 refused, NoAnswer, CallFailed (no portal at all).
    void failed(quillet::GlobalShortcutsClient::Stage stage, unsigned code, const QString& detail);
    void activated(const QString& id);

private Q_SLOTS:
    void takeResponse(const QDBusMessage& message);
    void takeActivation(const QDBusMessage& message);

private:
    using ResponseHandler = std::function<void(unsigned code, const QVariantMap& results)>;
    struct Pending {
        Stage stage;
        ResponseHandler handler;
        QTimer* timer;
    };

    QVariant shortcutList() const;
    void createSession();
    void bindShortcuts();
    // Listens for the answer at the request path before making the call: a quick portal
    // answers before the call's reply arrives.
    void request(Stage stage, const QString& token, const std::function<QDBusPendingCall()>& call,
                 ResponseHandler handler);
    void listen(const QString& path, bool on);
    void finish(const QString& path, unsigned code, const QVariantMap& results);
    QString newToken();

    QDBusConnection bus_;
    int timeoutMs_;
    OrgFreedesktopPortalGlobalShortcutsInterface* portal_;
    QList<PortalShortcut> shortcuts_;
    QString session_;
    QHash<QString, Pending> pending_; // request path -> what to do with its answer
    int tokens_ = 0;
};

} // namespace quillet
