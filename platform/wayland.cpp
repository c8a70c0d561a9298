#include "capture/capture_table.h"
#include "platform/data_control.h"
#include "platform/event_wait.h"
#include "platform/hotkey_delivery.h"
#include "platform/instance_link.h"
#include "platform/key_injector.h"
#include "platform/linux_backends.h"
#include "platform/portal_shortcuts.h"
#include "platform/qt_text.h"
#include "platform/wayland_notice.h"
#include "quillet_version.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QMetaObject>
#include <QSocketNotifier>

#include <linux/input-event-codes.h>

#include <array>
#include <map>
#include <set>

namespace quillet {

namespace {

// How long the owner of a selection may take to hand its text over.
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
            notifier_ = new QSocketNotifier(selection_->fd(), QSocketNotifier::Read, &context_);
            QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this] {
                if (!selection_->dispatchPending())
                    notifier_->setEnabled(false);
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

    // The portal keeps every key bound; a key is in force while its box says so, and
    // nothing else can hold it.
    bool registerHotKey(int id, unsigned, unsigned) override {
        inForce_.insert(id);
        return true;
    }
    bool unregisterHotKey(int id) override { return inForce_.erase(id) > 0; }

    // The windows may be on XWayland or on Wayland; Qt knows whether one of them is active.
    bool isOwnWindowInFront() const override { return QGuiApplication::focusWindow() != nullptr; }

    void sendCopyKeystroke() override {
        if (keys_)
            keys_->press({KEY_LEFTCTRL, KEY_C});
    }

    // The copied text changes with data-control's selection events. The highlight cannot be
    // made to change by a key: its mark is the count when this key last took it, and it is
    // new at once or not at all.
    ChangeMark changeMark() override {
        if (!selection_)
            return 0;
        selection_->dispatchPending();
        if (abilities_.text == WaylandAbilities::Text::Primary)
            return highlightTaken_[currentKey_];
        return selection_->changes(Selection::Clipboard);
    }

    bool waitForChange(ChangeMark mark, int timeoutMs) override {
        switch (abilities_.text) {
        case WaylandAbilities::Text::Clipboard: {
            // The wait watches the connection itself; two watchers of one socket are one
            // too many. A broken connection ends the wait: nothing will change any more.
            const bool watched = notifier_->isEnabled();
            notifier_->setEnabled(false);
            bool broken = !watched;
            const bool done = waitProcessingEvents(
                timeoutMs,
                [&] {
                    broken = broken || !selection_->dispatchPending();
                    return broken || selection_->changes(Selection::Clipboard) != mark;
                },
                selection_->fd());
            notifier_->setEnabled(!broken);
            return done && !broken;
        }
        case WaylandAbilities::Text::Primary:
            selection_->dispatchPending();
            return selection_->changes(Selection::Primary) != mark;
        case WaylandAbilities::Text::None:
            break;
        }
        return false;
    }

    ClipboardText readText() override {
        switch (abilities_.text) {
        case WaylandAbilities::Text::Clipboard:
            return read(Selection::Clipboard);
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

    // The highlighted text, only when it changed since this key last took it: nothing else
    // tells an old highlight from a new one.
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
        const DataControlReader::Read got = selection_->readText(which, ReadWait);
        switch (got.outcome) {
        case DataControlReader::Read::Outcome::Text:
            return {ClipboardText::Status::Text,
                    toDocumentText(QString::fromUtf8(got.text.data(), qsizetype(got.text.size())))};
        case DataControlReader::Read::Outcome::NoAnswer:
            return {ClipboardText::Status::CannotOpen, {}};
        case DataControlReader::Read::Outcome::NoText:
            break;
        }
        return {ClipboardText::Status::NoText, {}};
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
    std::map<int, unsigned> highlightTaken_; // key -> PRIMARY's count when it last took it
    QSocketNotifier* notifier_ = nullptr;
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
