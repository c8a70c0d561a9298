#include "capture/capture_table.h"
#include "platform/data_control.h"
#include "platform/hotkey_delivery.h"
#include "platform/instance_link.h"
#include "platform/key_injector.h"
#include "platform/linux_backends.h"
#include "platform/portal_shortcuts.h"
#include "platform/wayland_notice.h"
#include "quillet_version.h"
#include "text/display_text.h"

#include <QDBusConnection>
#include <QMetaObject>
#include <QSocketNotifier>

#include <linux/input-event-codes.h>

#include <array>
#include <map>
#include <set>

namespace quillet {

namespace {

using Clock = DataControlReader::Clock;

// How long a capture waits for the other program's copy, and for its text.
constexpr auto CopyWait = std::chrono::milliseconds(3000);
constexpr auto ReadWait = std::chrono::milliseconds(1000);

// What the desktop's shortcut settings show for each key, by identifier.
const std::array<const char*, CaptureRowCount> ShortcutDescriptions{
    "Obertitel übernehmen (F1)",
    "Titel übernehmen (F2)",
    "Untertitel übernehmen (F3)",
    "Text übernehmen (F4)",
    "Erscheinungsdatum übernehmen (F5)",
    "Aufnahmedatum einfügen (F6)",
    "Thema übernehmen (F7)",
    "Ersten eigenen Tag übernehmen (F8)",
    "Zweiten eigenen Tag übernehmen (F9)",
    "Dokument speichern, neues beginnen (F10)",
    "Text ohne Tag anfügen (0)",
    "AutorIn übernehmen (2)",
    "Quelle übernehmen (1)",
    "Medium übernehmen (3)",
    "Textansicht verbergen / zeigen (Strg+Y)",
    "Seitenzahl übernehmen (4)",
};

// The key of a row in the freedesktop shortcut format: "F1", "1", "CTRL+y".
QString portalTrigger(const CaptureRow& row) {
    QString trigger = (row.modifiers & ModControl) ? QStringLiteral("CTRL+") : QString();
    if (row.virtualKey >= 0x70 && row.virtualKey <= 0x87)
        return trigger + QStringLiteral("F%1").arg(row.virtualKey - 0x70 + 1);
    return trigger + QChar(row.virtualKey).toLower();
}

QString portalId(int id) {
    return QStringLiteral("hotkey-%1").arg(id);
}

bool desktopIs(const char* name) {
    const QString desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    return desktops.split(QLatin1Char(':')).contains(QLatin1String(name), Qt::CaseInsensitive);
}

// Why the portal gave no keys, for the notice.
QString portalProblem(unsigned code, const QString& detail) {
    switch (code) {
    case 1:
        return QStringLiteral("die Anfrage wurde abgelehnt");
    case 2:
        return QStringLiteral("das Portal hat die Tasten verweigert");
    case GlobalShortcutsClient::NoAnswer:
        return QStringLiteral("das Portal hat nicht geantwortet");
    default:
        if (detail.contains(QLatin1String("ServiceUnknown")) ||
            detail.contains(QLatin1String("NameHasNoOwner")))
            return QStringLiteral("kein Desktop-Portal gefunden");
        if (detail.contains(QLatin1String("Unknown")))
            return QStringLiteral("das Desktop-Portal bietet GlobalShortcuts nicht an");
        return QStringLiteral("kein Sitzungsbus erreichbar");
    }
}

class WaylandBackend final : public PlatformBackend {
public:
    WaylandBackend()
        : portal_(QDBusConnection::sessionBus()), link_([this](int id) { return takeKey(id); }) {
        abilities_.gnome = desktopIs("GNOME");
        abilities_.kde = desktopIs("KDE");
        std::string why;
        selection_ = DataControlReader::connect(why);
        if (selection_) {
            // Keeps the selection counts current and the compositor's messages read.
            auto* notifier =
                new QSocketNotifier(selection_->fd(), QSocketNotifier::Read, &context_);
            QObject::connect(notifier, &QSocketNotifier::activated, notifier, [this, notifier] {
                if (!selection_->dispatchPending())
                    notifier->setEnabled(false);
            });
            keys_ = KeyInjector::connect(why);
        }
        abilities_.text = keys_ ? WaylandAbilities::Text::Clipboard
                          : selection_ && selection_->offersPrimary()
                              ? WaylandAbilities::Text::Primary
                              : WaylandAbilities::Text::None;

        QObject::connect(&portal_, &GlobalShortcutsClient::bound, &context_,
                         [this](const QStringList& ids) { keysBound(ids); });
        QObject::connect(
            &portal_, &GlobalShortcutsClient::failed, &context_,
            [this](GlobalShortcutsClient::Stage, unsigned code, const QString& detail) {
                abilities_.keys = WaylandAbilities::Keys::Commands;
                abilities_.portalProblem = portalProblem(code, detail);
                announce();
            });
        QObject::connect(&portal_, &GlobalShortcutsClient::activated, &context_,
                         [this](const QString& id) {
                             for (const CaptureRow& row : captureTable())
                                 if (id == portalId(row.id))
                                     takeKey(row.id);
                         });
        QList<PortalShortcut> shortcuts;
        for (const CaptureRow& row : captureTable())
            shortcuts.append({portalId(row.id),
                              QString::fromUtf8(ShortcutDescriptions[std::size_t(row.id - 1)]),
                              portalTrigger(row)});
        portal_.start(toDisplayText(AppId), shortcuts);
    }

    // Keys come through the portal or through compositor bindings; the notice says which.
    bool hasSystemHotKeys() const override { return true; }

    void setHotKeyHandler(HotKeyHandler handler) override {
        delivery_.setHandler([this, handler = std::move(handler)](int id) {
            currentKey_ = id;
            handler(id);
        });
    }

    void setNoticeHandler(NoticeHandler handler) override {
        noticeHandler_ = std::move(handler);
        tellNotice();
    }

    // The portal keeps every key bound; a key is in force while its box says so.
    bool registerHotKey(int id, unsigned, unsigned) override { return inForce_.insert(id).second; }
    bool unregisterHotKey(int id) override { return inForce_.erase(id) > 0; }

    void sendCopyKeystroke() override {
        copyPending_ = false;
        if (!keys_)
            return;
        selection_->dispatchPending();
        clipboardBefore_ = selection_->changes(Selection::Clipboard);
        copyDeadline_ = Clock::now() + CopyWait;
        copyPending_ = keys_->press({KEY_LEFTCTRL, KEY_C});
    }

    ClipboardText readText() override {
        switch (abilities_.text) {
        case WaylandAbilities::Text::Clipboard:
            return readCopy();
        case WaylandAbilities::Text::Primary:
            return readHighlight();
        case WaylandAbilities::Text::None:
            break;
        }
        return {ClipboardText::Status::NoText, {}};
    }

private:
    bool takeKey(int id) {
        if (!inForce_.contains(id))
            return false;
        delivery_.post(id);
        return true;
    }

    // Only text the other program copied after our Ctrl+C; an unchanged clipboard holds
    // the text of some earlier copy.
    ClipboardText readCopy() {
        const bool copied =
            copyPending_ &&
            selection_->waitForChange(Selection::Clipboard, clipboardBefore_, copyDeadline_);
        copyPending_ = false;
        if (!copied)
            return {ClipboardText::Status::NoText, {}};
        return read(Selection::Clipboard);
    }

    // The highlighted text, when it changed since this key last took it.
    ClipboardText readHighlight() {
        selection_->dispatchPending();
        const unsigned now = selection_->changes(Selection::Primary);
        unsigned& taken = highlightTaken_[currentKey_];
        if (now == taken)
            return {ClipboardText::Status::NoText, {}};
        taken = now;
        return read(Selection::Primary);
    }

    ClipboardText read(Selection which) {
        const auto bytes = selection_->readText(which, ReadWait);
        if (!bytes)
            return {ClipboardText::Status::NoText, {}};
        return {ClipboardText::Status::Text,
                toDocumentText(QString::fromUtf8(bytes->data(), qsizetype(bytes->size())))};
    }

    void keysBound(const QStringList& ids) {
        abilities_.keys = WaylandAbilities::Keys::Portal;
        for (const CaptureRow& row : captureTable())
            if (!ids.contains(portalId(row.id)))
                abilities_.unboundKeys
                    << QString::fromLatin1(row.key.data(), qsizetype(row.key.size()));
        announce();
    }

    void announce() {
        notice_ = waylandNotice(abilities_);
        tellNotice();
    }

    // From the event loop, never from inside the window's construction.
    void tellNotice() {
        if (notice_.isEmpty() || !noticeHandler_)
            return;
        QMetaObject::invokeMethod(
            &context_, [this, text = std::exchange(notice_, QString())] { noticeHandler_(text); },
            Qt::QueuedConnection);
    }

    std::unique_ptr<DataControlReader> selection_;
    std::unique_ptr<KeyInjector> keys_;
    GlobalShortcutsClient portal_;
    HotKeyDelivery delivery_;
    InstanceLink link_;
    WaylandAbilities abilities_;
    std::set<int> inForce_;
    int currentKey_ = 0;
    unsigned clipboardBefore_ = 0;
    bool copyPending_ = false;
    Clock::time_point copyDeadline_;
    std::map<int, unsigned> highlightTaken_; // key -> PRIMARY's count when it last read
    NoticeHandler noticeHandler_;
    QString notice_;
    // Last, so that it goes first: the socket notifier, the connections and the queued
    // calls that use the members above.
    QObject context_;
};

} // namespace

std::unique_ptr<PlatformBackend> makeWaylandBackend(QWidget&) {
    return std::make_unique<WaylandBackend>();
}

} // namespace quillet
