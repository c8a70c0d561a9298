#include "platform/platform.h"

#include "platform/event_wait.h"
#include "platform/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace quillet {

namespace {

// How often the wait for a copy looks at the count of clipboard changes.
constexpr int ChangePollMs = 10;

class NoneBackend final : public PlatformBackend {
public:
    NoneBackend() {
        QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, &context_,
                         [this](QClipboard::Mode mode) {
                             if (mode == QClipboard::Clipboard)
                                 ++changes_;
                         });
    }

    bool hasSystemHotKeys() const override { return false; }
    // Nothing is ever delivered; the program drives captures itself where it must.
    void setHotKeyHandler(HotKeyHandler) override {}
    HotKeyResult registerHotKey(int, unsigned, unsigned) override { return HotKeyResult::Failed; }
    bool unregisterHotKey(int) override { return false; }
    bool isOwnWindowInFront() const override { return QGuiApplication::focusWindow() != nullptr; }
    void sendCopyKeystroke() override {}

    ChangeMark changeMark() override { return changes_; }
    bool waitForChange(ChangeMark mark, int timeoutMs) override {
        return waitProcessingEvents(
            timeoutMs, [&] { return changes_ != mark; }, -1, ChangePollMs);
    }
    ClipboardText readText() override { return readQtClipboardText(); }

private:
    ChangeMark changes_ = 0;
    QObject context_; // the change count's connection dies with it
};

} // namespace

std::unique_ptr<PlatformBackend> makeNoneBackend(QWidget&) {
    return std::make_unique<NoneBackend>();
}

} // namespace quillet
