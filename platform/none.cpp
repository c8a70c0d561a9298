#include "platform/platform.h"

#include "platform/qt_clipboard.h"

namespace quillet {

namespace {

class NoneBackend final : public PlatformBackend {
public:
    bool hasSystemHotKeys() const override { return false; }
    // Nothing is ever delivered; the program drives captures itself where it must.
    void setHotKeyHandler(HotKeyHandler) override {}
    bool registerHotKey(int, unsigned, unsigned) override { return false; }
    bool unregisterHotKey(int) override { return false; }
    void sendCopyKeystroke() override {}
    ClipboardText readText() override { return readQtClipboardText(); }
};

} // namespace

std::unique_ptr<PlatformBackend> makeNoneBackend(QWidget&) {
    return std::make_unique<NoneBackend>();
}

} // namespace quillet
