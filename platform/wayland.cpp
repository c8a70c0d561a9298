#include "capture/capture_table.h"
#include "platform/data_control.h"
#include "platform/event_wait.h"
#include "platform/focus_highlight.h"
#include "platform/front_window.h"
#include "platform/hotkey_delivery.h"
#include "platform/instance_link.h"
#include "platform/key_injector.h"
#include "platform/linux_backends.h"
#include "platform/portal_shortcuts.h"
#include "platform/qt_text.h"
#include "platform/shortcut_names.h"
#include "platform/wayland_notice.h"
#include "quillet_version.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QMetaObject>
#include <QSocketNotifier>

#include <linux/input-event-codes.h>

#include <set>

namespace quillet {

namespace {

// How long the owner of a selection may take to hand its text over.
constexpr auto ReadWait = std::chrono::milliseconds(1000);

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

ClipboardText toClipboardText(const SelectionRead& got) {
    switch (got.outcome) {
    case SelectionRead::Outcome::Text:
        return {ClipboardText::Status::Text,
                toDocumentText(QString::fromUtf8(got.text.data(), qsizetype(got.text.size()))),
                got.sourceAddress};
    case SelectionRead::Outcome::NoAnswer:
        return {ClipboardText::Status::CannotOpen, {}};
    case SelectionRead::Outcome::NoText:
        break;
    }
    return {ClipboardText::Status::NoText, {}};
}

class WaylandBackend final : public PlatformBackend {
public:
    WaylandBackend()
        : portal_(QDBusConnection::sessionBus()),
          link_([this](int id) { return takeCommand(id); }) {
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
        } else if (auto reader = SurfaceSelectionReader::connect(why)) {
            focusRead_ = std::make_unique<FocusHighlight>(std::move(reader));
        }
        if (keys_)
            front_ = abilities_.kde ? watchKWinFrontWindow() : askSwayForFrontWindow();
        abilities_.text = keys_ ? WaylandAbilities::Text::Clipboard
                          : selection_ && selection_->offersPrimary()
                              ? WaylandAbilities::Text::Primary
                          : focusRead_ ? WaylandAbilities::Text::FocusedPrimary
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
            shortcuts.append({portalId(row.id), QString::fromUtf8(shortcutDescription(row.id)),
                              portalTrigger(row)});
        portal_.start(toDisplayText(AppId), shortcuts);
    }

    // Keys come through the portal or through compositor bindings; the notice says which.
    bool hasSystemHotKeys() const override { return true; }

    void setHotKeyHandler(HotKeyHandler handler) override {
        delivery_.setHandler(std::move(handler));
    }

    void setNoticeHandler(NoticeHandler handler) override {
        noticeHandler_ = std::move(handler);
        tellNotice();
    }

    // The portal keeps every key bound; a key is in force while its box says so, and
    // nothing else can hold it.
    HotKeyResult registerHotKey(int id, unsigned, unsigned) override {
        inForce_.insert(id);
        return HotKeyResult::Registered;
    }
    bool unregisterHotKey(int id) override { return inForce_.erase(id) > 0; }

    // The windows may be on XWayland or on Wayland; Qt knows whether one of them is active.
    bool isOwnWindowInFront() const override { return QGuiApplication::focusWindow() != nullptr; }

    void sendCopyKeystroke() override {
        if (keys_)
            keys_->press({KEY_LEFTCTRL, KEY_C});
    }

    // Without a way to press Ctrl+C, the highlighted text is all there is to take; in a
    // terminal Ctrl+C would interrupt the running program. Where the compositor does not
    // tell the window in front, Ctrl+C it is.
    CopyWay copyWay() override {
        if (abilities_.text != WaylandAbilities::Text::Clipboard)
            return CopyWay::Highlight;
        return front_ && front_->isTerminal().value_or(false) ? CopyWay::Highlight
                                                              : CopyWay::Keystroke;
    }

    // The copied text changes with data-control's selection events.
    ChangeMark changeMark() override {
        if (!selection_)
            return 0;
        selection_->dispatchPending();
        return selection_->changes(Selection::Clipboard);
    }

    bool waitForChange(ChangeMark mark, int timeoutMs) override {
        if (abilities_.text != WaylandAbilities::Text::Clipboard)
            return false;
        // The wait watches the connection itself; two watchers of one socket are one too
        // many. A broken connection ends the wait: nothing will change any more.
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

    ClipboardText readText() override {
        if (abilities_.text != WaylandAbilities::Text::Clipboard)
            return {ClipboardText::Status::NoText, {}};
        return read(Selection::Clipboard);
    }

    ChangeMark highlightMark() override {
        if (focusRead_)
            return focusRead_->mark();
        if (!selection_ || !selection_->offersPrimary())
            return 0;
        selection_->dispatchPending();
        return selection_->changes(Selection::Primary);
    }

    ClipboardText readHighlight() override {
        if (focusRead_)
            return toClipboardText(focusRead_->take());
        if (!selection_ || !selection_->offersPrimary())
            return {ClipboardText::Status::NoText, {}};
        return read(Selection::Primary);
    }

private:
    bool takeKey(int id) {
        if (!inForce_.contains(id))
            return false;
        delivery_.post(id);
        return true;
    }

    ClipboardText read(Selection which) {
        return toClipboardText(selection_->readText(which, ReadWait));
    }

    // A key handed over by `quillet --hotkey` shows that the desktop's keys reach us: what
    // the notice says about keys is done with for this run.
    bool takeCommand(int id) {
        if (!keysWork_) {
            keysWork_ = true;
            announce();
        }
        return takeKey(id);
    }

    void keysBound(const QStringList& ids) {
        abilities_.keys = WaylandAbilities::Keys::Portal;
        for (const CaptureRow& row : captureTable())
            if (!ids.contains(portalId(row.id)))
                abilities_.unboundKeys
                    << QString::fromLatin1(row.key.data(), qsizetype(row.key.size()));
        announce();
    }

    // Once the keys work, the notice is taken back (an empty text), and not said again.
    void announce() {
        notice_ = keysWork_ ? QString() : waylandNotice(abilities_);
        noticeDue_ = true;
        tellNotice();
    }

    // From the event loop, never from inside the window's construction.
    void tellNotice() {
        if (!noticeDue_ || !noticeHandler_)
            return;
        noticeDue_ = false;
        QMetaObject::invokeMethod(
            &context_, [this, text = notice_] { noticeHandler_(text); }, Qt::QueuedConnection);
    }

    std::unique_ptr<DataControlReader> selection_;
    std::unique_ptr<KeyInjector> keys_;
    std::unique_ptr<FrontWindow> front_;
    std::unique_ptr<FocusHighlight> focusRead_;
    GlobalShortcutsClient portal_;
    HotKeyDelivery delivery_;
    InstanceLink link_;
    WaylandAbilities abilities_;
    std::set<int> inForce_;
    QSocketNotifier* notifier_ = nullptr;
    NoticeHandler noticeHandler_;
    QString notice_;
    bool noticeDue_ = false;
    bool keysWork_ = false;
    // Last, so that it goes first: the socket notifier, the connections and the queued
    // calls that use the members above.
    QObject context_;
};

} // namespace

std::unique_ptr<PlatformBackend> makeWaylandBackend(QWidget&) {
    return std::make_unique<WaylandBackend>();
}

} // namespace quillet
