// The Win32 capture steps as Windows code under Wine, against the clipboard of Wine's own
// server: what it holds, who holds it open and who owes its text decide. The keys and
// the keystroke need a display and a program to copy from: tests/wine/notepad_e2e.sh.
#include "platform/win32_capture.h"
#include "support/notation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

namespace quillet {

// Names rather than numbers in failure messages.
void PrintTo(ClipboardText::Status status, std::ostream* os) {
    constexpr const char* names[] = {"Text", "NoText", "CannotOpen"};
    *os << names[static_cast<int>(status)];
}

void PrintTo(HotKeyResult result, std::ostream* os) {
    constexpr const char* names[] = {"Registered", "Taken", "NoSuchKey", "Failed"};
    *os << names[static_cast<int>(result)];
}

namespace {

using test::shown;
using Status = ClipboardText::Status;

// What the window below renders when asked for the text it promised.
std::u16string promised;

LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RENDERFORMAT && wParam == CF_UNICODETEXT) {
        const std::size_t bytes = (promised.size() + 1) * sizeof(char16_t);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
        std::memcpy(GlobalLock(block), promised.c_str(), bytes);
        GlobalUnlock(block);
        SetClipboardData(CF_UNICODETEXT, block);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A window of this thread that owns what it puts on the clipboard, as a program's would.
class ClipboardOwner {
public:
    ClipboardOwner() {
        [[maybe_unused]] static const ATOM windowClass = [] {
            WNDCLASSW c{};
            c.lpfnWndProc = ownerProcedure;
            c.hInstance = GetModuleHandleW(nullptr);
            c.lpszClassName = L"QuilletTestClipboardOwner";
            return RegisterClassW(&c);
        }();
        window_ = CreateWindowExW(0, L"QuilletTestClipboardOwner", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~ClipboardOwner() { DestroyWindow(window_); }
    ClipboardOwner(const ClipboardOwner&) = delete;
    ClipboardOwner& operator=(const ClipboardOwner&) = delete;

    // The clipboard emptied and given `format` with `bytes`, or with a promise to render
    // it on request when `bytes` is null.
    void put(UINT format, const void* bytes, std::size_t size, bool keepTheRest = false) {
        ASSERT_TRUE(OpenClipboard(window_));
        if (!keepTheRest)
            EmptyClipboard();
        HGLOBAL block = nullptr;
        if (bytes) {
            block = GlobalAlloc(GMEM_MOVEABLE, size);
            std::memcpy(GlobalLock(block), bytes, size);
            GlobalUnlock(block);
        }
        EXPECT_TRUE(SetClipboardData(format, block) != nullptr || !bytes);
        CloseClipboard();
    }
    void putText(const std::u16string& text) {
        put(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t));
    }
    void promiseText(const std::u16string& text) {
        promised = text;
        put(CF_UNICODETEXT, nullptr, 0);
    }
    void empty() {
        ASSERT_TRUE(OpenClipboard(window_));
        EmptyClipboard();
        CloseClipboard();
    }
    HWND window() const { return window_; }

private:
    HWND window_;
};

// A manual-reset event, closed when it goes.
class Event {
public:
    Event() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Event() { CloseHandle(handle_); }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    void set() { SetEvent(handle_); }
    void wait() { WaitForSingleObject(handle_, INFINITE); }

private:
    HANDLE handle_;
};

TEST(Win32HotKeys, RegistrationTellsTheFailuresApart) {
    ASSERT_EQ(registerSystemHotKey(nullptr, 2, 0, VK_F2), HotKeyResult::Registered);
    EXPECT_EQ(registerSystemHotKey(nullptr, 3, 0, VK_F2), HotKeyResult::Taken) << "F2 once more";
    EXPECT_EQ(registerSystemHotKey(nullptr, 4, 0, 0xE8), HotKeyResult::NoSuchKey)
        << "a code that no key of the layout gives";
    EXPECT_EQ(registerSystemHotKey(reinterpret_cast<HWND>(0x1234), 5, 0, VK_F5),
              HotKeyResult::Failed)
        << "a window that does not exist";
    EXPECT_TRUE(unregisterSystemHotKey(nullptr, 2));
    EXPECT_FALSE(unregisterSystemHotKey(nullptr, 2)) << "released twice";
    EXPECT_EQ(registerSystemHotKey(nullptr, 3, MOD_CONTROL, 'Y'), HotKeyResult::Registered);
    EXPECT_EQ(registerSystemHotKey(nullptr, 6, 0, VK_F2), HotKeyResult::Registered) << "free again";
    unregisterSystemHotKey(nullptr, 3);
    unregisterSystemHotKey(nullptr, 6);
}

// Unicode text whatever the machine's code page, by our own table: umlauts, typographic
// quotes and the euro sign as their bytes, what Windows-1252 lacks as "?", LF as CR LF.
TEST(Win32Clipboard, ReadsUnicodeTextAsDocumentBytes) {
    ClipboardOwner owner;
    const std::uint32_t mark = clipboardSequence();
    owner.putText(u"M\u00fcller \u201eja\u201c \u20ac \u03b1\U0001F600\nZeile");
    EXPECT_TRUE(waitForClipboardChange(mark, 1000));
    const ClipboardText got = readClipboardText();
    EXPECT_EQ(got.status, Status::Text);
    EXPECT_EQ(shown(got.text), shown("M\xFCller \x84ja\x93 \x80 ??\r\nZeile"));
}

// A browser's copy: the text, and beside it the HTML whose header names the page.
TEST(Win32Clipboard, ReadsThePagesAddressBesideTheText) {
    ClipboardOwner owner;
    const std::string body =
        "<html><body><!--StartFragment-->Titel<!--EndFragment--></body></html>";
    const std::string url = "https://example.org/seite?a=1";
    const auto header = [&](std::size_t start) {
        const auto at = [](std::size_t n) {
            std::string digits = std::to_string(n);
            return std::string(10 - digits.size(), '0') + digits;
        };
        const std::size_t fragment = start + body.find("Titel");
        return "Version:0.9\r\nStartHTML:" + at(start) + "\r\nEndHTML:" + at(start + body.size()) +
               "\r\nStartFragment:" + at(fragment) + "\r\nEndFragment:" + at(fragment + 5) +
               "\r\nSourceURL:" + url + "\r\n";
    };
    const std::string html = header(header(0).size()) + body;
    owner.putText(u"Titel");
    owner.put(RegisterClipboardFormatW(L"HTML Format"), html.c_str(), html.size() + 1, true);
    const ClipboardText got = readClipboardText();
    EXPECT_EQ(got.text, "Titel");
    EXPECT_EQ(got.sourceAddress, url);
    owner.putText(u"ohne HTML");
    EXPECT_EQ(readClipboardText().sourceAddress, "");
}

TEST(Win32Clipboard, WaitEndsUnchangedAfterItsTime) {
    ClipboardOwner owner;
    owner.putText(u"alt");
    EXPECT_FALSE(waitForClipboardChange(clipboardSequence(), 50));
    const std::uint32_t mark = clipboardSequence();
    owner.putText(u"alt");
    EXPECT_TRUE(waitForClipboardChange(mark, 0)) << "the same text copied again is a change";
}

TEST(Win32Clipboard, NoTextWithoutATextFormat) {
    ClipboardOwner owner;
    owner.empty();
    EXPECT_EQ(readClipboardText().status, Status::NoText);
    const char bytes[] = "kein Text";
    owner.put(RegisterClipboardFormatW(L"Quillet Test"), bytes, sizeof bytes);
    EXPECT_EQ(readClipboardText().status, Status::NoText);
}

// Another program keeps the clipboard open: the read fails in its time, and works again
// once the clipboard is closed.
TEST(Win32Clipboard, ClipboardKeptOpenGivesTheFailureNotAHang) {
    ClipboardOwner owner;
    owner.putText(u"gesperrt");
    Event opened, release;
    std::thread holder([&] {
        ClipboardOwner other;
        ASSERT_TRUE(OpenClipboard(other.window()));
        opened.set();
        release.wait();
        CloseClipboard();
    });
    opened.wait();
    EXPECT_EQ(readClipboardText(200).status, Status::CannotOpen);
    release.set();
    holder.join();
    const ClipboardText got = readClipboardText();
    EXPECT_EQ(got.status, Status::Text);
    EXPECT_EQ(got.text, "gesperrt");
}

// An owner promised the text and does not answer when asked for it (busy, or stopped):
// the read fails in its time instead of waiting for it.
TEST(Win32Clipboard, OwnerThatDoesNotRenderGivesTheFailureNotAHang) {
    Event promisedIt, answer;
    std::atomic<bool> done = false;
    std::thread busy([&] {
        ClipboardOwner other;
        other.promiseText(u"sp\u00e4t");
        promisedIt.set();
        answer.wait();
        // Now it answers what is pending, and whoever asks next.
        while (!done) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            Sleep(5);
        }
        other.empty();
    });
    promisedIt.wait();
    EXPECT_EQ(readClipboardText(300).status, Status::CannotOpen);
    answer.set();
    const ClipboardText got = readClipboardText();
    EXPECT_EQ(got.status, Status::Text);
    EXPECT_EQ(got.text, "sp\xE4t");
    done = true;
    busy.join();
}

// The program's own copy (Qt renders on request) is owed by a window of the very thread
// that reads: its request is answered while the read waits.
TEST(Win32Clipboard, OwnCopyRenderedOnRequestIsRead) {
    ClipboardOwner owner;
    owner.promiseText(u"eigener Text \u2013 kopiert");
    const ClipboardText got = readClipboardText();
    EXPECT_EQ(got.status, Status::Text);
    EXPECT_EQ(shown(got.text), shown("eigener Text \x96 kopiert"));
    owner.empty();
}

} // namespace
} // namespace quillet
