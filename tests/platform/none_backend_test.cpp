#include "platform/platform.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QWidget>

#include <gtest/gtest.h>

namespace quillet {
namespace {

using Status = ClipboardText::Status;

class NoneBackendTest : public ::testing::Test {
protected:
    QWidget window;
    std::unique_ptr<PlatformBackend> backend = makeNoneBackend(window);
};

TEST_F(NoneBackendTest, OffersNoHotKeysAndNeverDeliversOne) {
    int delivered = 0;
    backend->setHotKeyHandler([&](int) { ++delivered; });
    EXPECT_FALSE(backend->hasSystemHotKeys());
    EXPECT_EQ(backend->registerHotKey(2, 0, 0x71), HotKeyResult::Failed);
    EXPECT_FALSE(backend->unregisterHotKey(2));
    backend->sendCopyKeystroke();
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, 0);
}

#if QUILLET_FACTORY_FALLS_BACK
// The X11 factory on a display that is not X11.
TEST_F(NoneBackendTest, IsWhatTheFactoryGivesOffscreen) {
    EXPECT_FALSE(createPlatformBackend(window)->hasSystemHotKeys());
}
#endif

TEST_F(NoneBackendTest, ReadsClipboardTextAsDocumentBytes) {
    struct Row {
        const char* name;
        QString clipboard;
        std::string expected;
    };
    const Row rows[] = {
        {"plain", QStringLiteral("Titel"), "Titel"},
        {"lf to crlf", QStringLiteral("a\nb\n"), "a\r\nb\r\n"},
        {"cp1252 letters", QString::fromUtf8("f\u00fcr \u20ac"), "f\xFCr \x80"},
        {"outside code page", QString::fromUtf8("\u65e5\U0001F600"), "??"},
        {"empty text", QString(), ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QGuiApplication::clipboard()->setText(row.clipboard);
        const ClipboardText got = backend->readText();
        EXPECT_EQ(got.status, Status::Text);
        EXPECT_EQ(got.text, row.expected);
    }
}

TEST_F(NoneBackendTest, ClipboardWithoutTextGivesNoText) {
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(backend->readText().status, Status::NoText);

    auto* picture = new QMimeData;
    picture->setData("image/png", QByteArray("\x89PNG", 4));
    QGuiApplication::clipboard()->setMimeData(picture);
    EXPECT_EQ(backend->readText().status, Status::NoText);
}

TEST_F(NoneBackendTest, SeesClipboardChanges) {
    const Clipboard::ChangeMark mark = backend->changeMark();
    EXPECT_FALSE(backend->waitForChange(mark, 50));
    QGuiApplication::clipboard()->setText(QStringLiteral("neu"));
    EXPECT_TRUE(backend->waitForChange(mark, 1000));
}

} // namespace
} // namespace quillet

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
