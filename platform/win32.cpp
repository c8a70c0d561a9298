#include "platform/platform.h"

#include "capture/html_format.h"
#include "platform/event_wait.h"
#include "platform/hotkey_delivery.h"
#include "platform/terminals.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QWidget>

#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>

namespace quillet {

namespace {

constexpr UINT WmHotKey = 0x0312;
constexpr BYTE VkControl = 0x11;
constexpr BYTE VkC = 0x43;
// How often the wait for a copy looks at the clipboard's sequence number.
constexpr int SequencePollMs = 5;

// The clipboard, open for as long as this lives.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != 0) {}
    ~OpenedClipboard() {
        if (open_)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;

    bool isOpen() const { return open_; }

private:
    bool open_;
};

// A global memory block, locked for as long as this lives.
class LockedGlobal {
public:
    explicit LockedGlobal(HANDLE handle)
        : handle_(handle), data_(handle ? static_cast<const char*>(GlobalLock(handle)) : nullptr) {}
    ~LockedGlobal() {
        if (data_)
            GlobalUnlock(handle_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;

    const char* data() const { return data_; }
    std::size_t size() const { return GlobalSize(handle_); }

private:
    HANDLE handle_;
    const char* data_;
};

// Browsers name the page a copied text comes from in the header of the HTML they put beside
// it. Read while the clipboard is open.
std::string htmlSourceUrl() {
    static const UINT htmlFormat = RegisterClipboardFormatA("HTML Format");
    if (htmlFormat == 0 || !IsClipboardFormatAvailable(htmlFormat))
        return {};
    LockedGlobal html(GetClipboardData(htmlFormat));
    if (!html.data())
        return {};
    return std::string(htmlFormatSourceUrl(std::string_view(html.data(), html.size())));
}

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

    bool registerHotKey(int id, unsigned modifiers, unsigned virtualKey) override {
        // The system refuses a key this window holds already as it refuses another
        // program's; only the latter is a failure.
        const auto held = registered_.find(id);
        if (held != registered_.end())
            return held->second == std::pair{modifiers, virtualKey};
        if (!::RegisterHotKey(handle(), id, modifiers, virtualKey))
            return false;
        registered_.emplace(id, std::pair{modifiers, virtualKey});
        return true;
    }
    bool unregisterHotKey(int id) override {
        registered_.erase(id);
        return ::UnregisterHotKey(handle(), id) != 0;
    }

    bool isOwnWindowInFront() const override {
        DWORD process = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &process);
        return process == GetCurrentProcessId();
    }

    void sendCopyKeystroke() override {
        keybd_event(VkControl, 0, 0, 0);
        keybd_event(VkC, 0, 0, 0);
        keybd_event(VkC, 0, KEYEVENTF_KEYUP, 0);
        keybd_event(VkControl, 0, KEYEVENTF_KEYUP, 0);
    }

    // In a console window Ctrl+C interrupts the running program (and copies only where the
    // user selected first): there a capture takes a copy the user made by hand, once per
    // key, as the highlighted text elsewhere.
    CopyWay copyWay() override {
        wchar_t name[64] = {};
        const int length = GetClassNameW(GetForegroundWindow(), name, 64);
        return isConsoleWindowClass({name, static_cast<std::size_t>(length > 0 ? length : 0)})
                   ? CopyWay::Highlight
                   : CopyWay::Keystroke;
    }
    // A copy from before the start counts as none.
    ChangeMark highlightMark() override {
        const DWORD now = GetClipboardSequenceNumber();
        return now == startSequence_ ? 0 : now;
    }
    ClipboardText readHighlight() override { return readText(); }

    ChangeMark changeMark() override { return GetClipboardSequenceNumber(); }
    bool waitForChange(ChangeMark mark, int timeoutMs) override {
        return waitProcessingEvents(
            timeoutMs, [mark] { return GetClipboardSequenceNumber() != mark; }, -1, SequencePollMs);
    }

    ClipboardText readText() override {
        if (!IsClipboardFormatAvailable(CF_TEXT))
            return {ClipboardText::Status::NoText, {}};
        OpenedClipboard clipboard(handle());
        if (!clipboard.isOpen())
            return {ClipboardText::Status::CannotOpen, {}};
        LockedGlobal text(GetClipboardData(CF_TEXT));
        if (!text.data())
            return {ClipboardText::Status::NoText, {}};
        // The text ends at its NUL, but never beyond the block: a block without one is read
        // to its end rather than past it.
        const std::size_t limit = text.size();
        const void* nul = std::memchr(text.data(), 0, limit);
        const std::size_t length =
            nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()) : limit;
        return {ClipboardText::Status::Text, std::string(text.data(), length), htmlSourceUrl()};
    }

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
    DWORD startSequence_ = GetClipboardSequenceNumber();
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
