#include "platform/platform.h"

#include "platform/event_wait.h"
#include "platform/hotkey_delivery.h"
#include "platform/win32_capture.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QWidget>

#include <windows.h>

#include <map>
#include <utility>

namespace quillet {

namespace {

constexpr UINT WmHotKey = 0x0312;

// The Qt side of capturing on Windows: the hot-key messages come through Qt's event
// dispatcher; every step itself is a function of win32_capture.
class Win32Backend final : public PlatformBackend, public QAbstractNativeEventFilter {
public:
    explicit Win32Backend(QWidget& mainWindow) : window_(mainWindow) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~Win32Backend() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool hasSystemHotKeys() const override { return true; }
    void setHotKeyHandler(HotKeyHandler handler) override {
        delivery_.setHandler(std::move(handler));
    }

    HotKeyResult registerHotKey(int id, unsigned modifiers, unsigned virtualKey) override {
        // The system refuses a key this window holds already as it refuses another
        // program's; only the latter is a failure.
        const auto held = registered_.find(id);
        if (held != registered_.end())
            return held->second == std::pair{modifiers, virtualKey} ? HotKeyResult::Registered
                                                                    : HotKeyResult::Failed;
        const HotKeyResult result = registerSystemHotKey(handle(), id, modifiers, virtualKey);
        if (result == HotKeyResult::Registered)
            registered_.emplace(id, std::pair{modifiers, virtualKey});
        return result;
    }
    bool unregisterHotKey(int id) override {
        registered_.erase(id);
        return unregisterSystemHotKey(handle(), id);
    }

    bool isOwnWindowInFront() const override { return isOwnProcessInFront(); }
    void sendCopyKeystroke() override { sendCopyKeys(); }

    // Consoles get no key; there a capture takes a copy the user made by hand.
    CopyWay copyWay() override { return copyWayInFront(); }
    ChangeMark highlightMark() override { return handCopies_.mark(); }
    ClipboardText readHighlight() override { return readText(); }

    ChangeMark changeMark() override { return clipboardSequence(); }
    bool waitForChange(ChangeMark mark, int timeoutMs) override {
        // The windows repaint meanwhile; hot keys wait in the queue.
        return waitForClipboardChange(static_cast<std::uint32_t>(mark), timeoutMs, [](int ms) {
            waitProcessingEvents(ms, [] { return false; });
        });
    }
    ClipboardText readText() override { return readClipboardText(); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override {
        if (eventType != "windows_generic_MSG" && eventType != "windows_dispatcher_MSG")
            return false;
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message != WmHotKey || msg->hwnd != handle())
            return false;
        delivery_.post(static_cast<int>(msg->wParam));
        if (result)
            *result = 0;
        return true;
    }

private:
    HWND handle() const { return reinterpret_cast<HWND>(window_.winId()); }

    QWidget& window_;
    HandCopies handCopies_;
    HotKeyDelivery delivery_;
    std::map<int, std::pair<unsigned, unsigned>> registered_; // modifiers and key by identifier
};

} // namespace

std::unique_ptr<PlatformBackend> createPlatformBackend(QWidget& mainWindow) {
    return std::make_unique<Win32Backend>(mainWindow);
}

// Windows delivers every registered key itself; nothing needs handing over.
HandOff handHotKeyToRunningInstance(int) {
    return HandOff::NotHere;
}

} // namespace quillet
