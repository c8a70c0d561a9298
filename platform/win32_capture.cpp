#include "platform/win32_capture.h"

#include "capture/html_format.h"
#include "platform/terminals.h"
#include "text/display_text.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

namespace quillet {

namespace {

using Clock = std::chrono::steady_clock;
using Text = ClipboardText::Status;

// How often a wait looks at the clipboard's count, and how often an open is tried again.
constexpr int SequencePollMs = 5;
constexpr int OpenRetryMs = 10;

int msUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

// A kernel handle, closed when its last owner goes.
using SharedHandle = std::shared_ptr<void>;
SharedHandle shareHandle(HANDLE handle) {
    return SharedHandle(handle, [](HANDLE h) {
        if (h)
            CloseHandle(h);
    });
}

// The clipboard, open for this thread for as long as this lives.
class OpenedClipboard {
public:
    // Tries until `deadline`: another program may hold it open for a moment.
    explicit OpenedClipboard(Clock::time_point deadline) {
        while (!(open_ = OpenClipboard(nullptr) != 0) && Clock::now() < deadline)
            Sleep(OpenRetryMs);
    }
    ~OpenedClipboard() {
        if (open_)
            CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;

    bool isOpen() const { return open_; }

private:
    bool open_ = false;
};

// A global memory block, locked for as long as this lives.
class LockedGlobal {
public:
    explicit LockedGlobal(HANDLE handle)
        : handle_(handle), data_(handle ? GlobalLock(handle) : nullptr) {}
    ~LockedGlobal() {
        if (data_)
            GlobalUnlock(handle_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;

    bool isLocked() const { return data_ != nullptr; }
    std::string_view bytes() const {
        return data_ ? std::string_view(static_cast<const char*>(data_), GlobalSize(handle_))
                     : std::string_view();
    }
    // The text up to its NUL, never beyond the block: a block without one is read to its
    // end rather than past it.
    std::u16string_view text() const {
        if (!data_)
            return {};
        const std::u16string_view all(static_cast<const char16_t*>(data_),
                                      GlobalSize(handle_) / sizeof(char16_t));
        return all.substr(0, all.find(u'\0'));
    }

private:
    HANDLE handle_;
    void* data_;
};

// Browsers name the page a copied text comes from in the header of the HTML they put beside
// it. Read while the clipboard is open.
std::string htmlSourceUrl() {
    static const UINT htmlFormat = RegisterClipboardFormatW(L"HTML Format");
    if (htmlFormat == 0 || !IsClipboardFormatAvailable(htmlFormat))
        return {};
    const LockedGlobal html(GetClipboardData(htmlFormat));
    return std::string(htmlFormatSourceUrl(html.bytes()));
}

ClipboardText readOpenedClipboard(Clock::time_point deadline) {
    const OpenedClipboard clipboard(deadline);
    if (!clipboard.isOpen())
        return {Text::CannotOpen, {}};
    // The owner may have promised the text and renders it only now, on request.
    const LockedGlobal data(GetClipboardData(CF_UNICODETEXT));
    if (!data.isLocked())
        return {Text::NoText, {}};
    return {Text::Text, documentTextFromUtf16(data.text()), htmlSourceUrl()};
}

// Answers the messages that other threads send to this thread's windows, without taking
// any posted message (a hot key, input) from the queue.
void answerSentMessages() {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

} // namespace

HotKeyResult registerSystemHotKey(HWND window, int id, unsigned modifiers, unsigned virtualKey) {
    // A key that no key of the current layout gives could be registered, but never pressed.
    if (MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC) == 0)
        return HotKeyResult::NoSuchKey;
    if (RegisterHotKey(window, id, modifiers, virtualKey))
        return HotKeyResult::Registered;
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED ? HotKeyResult::Taken
                                                             : HotKeyResult::Failed;
}

bool unregisterSystemHotKey(HWND window, int id) {
    return UnregisterHotKey(window, id) != 0;
}

bool sendCopyKeys() {
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_CONTROL, 'C', 'C', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    return SendInput(4, keys, sizeof(INPUT)) == 4;
}

void passTimeAnsweringMessages(int ms) {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    for (int left = ms; left > 0; left = msUntil(end)) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left),
                                      QS_SENDMESSAGE) == WAIT_TIMEOUT)
            return;
        answerSentMessages();
    }
}

std::uint32_t clipboardSequence() {
    return GetClipboardSequenceNumber();
}

bool waitForClipboardChange(std::uint32_t mark, int timeoutMs, const TimePasser& pass) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (clipboardSequence() != mark)
            return true;
        const int left = msUntil(deadline);
        if (left <= 0)
            return false;
        pass(std::min(left, SequencePollMs));
    }
}

ClipboardText readClipboardText(int boundMs) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT))
        return {Text::NoText, {}};
    // The read runs on a thread of its own: an owner that never renders its promised text
    // would hold it forever. Such a thread ends when the owner answers or goes away.
    struct Read {
        std::mutex lock;
        std::optional<ClipboardText> result;
        SharedHandle done = shareHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    };
    const auto read = std::make_shared<Read>();
    if (!read->done)
        return {Text::CannotOpen, {}};
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(boundMs);
    std::thread([read, deadline] {
        ClipboardText text = readOpenedClipboard(deadline);
        const std::lock_guard hold(read->lock);
        read->result = std::move(text);
        SetEvent(read->done.get());
    }).detach();

    // The owner may be a window of this very thread (the program's own copy): its request
    // to render is answered while waiting.
    HANDLE done = read->done.get();
    for (int left = boundMs; left > 0; left = msUntil(deadline)) {
        const DWORD woken =
            MsgWaitForMultipleObjects(1, &done, FALSE, static_cast<DWORD>(left), QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0)
            break;
        if (woken != WAIT_OBJECT_0 + 1)
            return {Text::CannotOpen, {}};
        answerSentMessages();
    }
    const std::lock_guard hold(read->lock);
    if (!read->result)
        return {Text::CannotOpen, {}};
    return std::move(*read->result);
}

bool isOwnProcessInFront() {
    const HWND front = GetForegroundWindow();
    if (!front)
        return false;
    DWORD process = 0;
    GetWindowThreadProcessId(front, &process);
    return process == GetCurrentProcessId();
}

CopyWay copyWayInFront() {
    // Room for more than the longest known class: a longer name, cut short, matches none.
    wchar_t name[64] = {};
    const int length = GetClassNameW(GetForegroundWindow(), name, 64);
    const std::wstring_view className(name, static_cast<std::size_t>(std::max(length, 0)));
    return isConsoleWindowClass(className) ? CopyWay::Highlight : CopyWay::Keystroke;
}

Clipboard::ChangeMark HandCopies::mark() const {
    const std::uint32_t now = clipboardSequence();
    return now == startSequence_ ? 0 : now;
}

} // namespace quillet
