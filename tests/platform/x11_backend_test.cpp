// The X11 backend against a real X server: run by tests/xvfb/run_under_xvfb.sh, with the
// reader window of tests/xvfb/test_reader.cpp holding the focus. Keys are pressed with
// xdotool and the clipboard is filled with xclip, as a user and another program would.
#include "capture/capture_table.h"
#include "platform/platform.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#undef Status // Xlib's macro would hide ClipboardText::Status

#include <csignal>
#include <vector>

// Lets failures show texts rather than bytes.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace quillet {
namespace {

QString readerPath;

// Runs an X tool to its end; the test fails when the tool does.
void run(const QString& program, const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, args);
    ASSERT_TRUE(p.waitForStarted(5000)) << program.toStdString();
    if (!input.isNull()) {
        p.write(input);
        p.closeWriteChannel();
    }
    ASSERT_TRUE(p.waitForFinished(10000)) << program.toStdString();
    ASSERT_EQ(p.exitCode(), 0) << program.toStdString() << " " << args.join(' ').toStdString();
}

void pressKey(const QString& key) {
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), key});
}

// Another program takes the CLIPBOARD selection with these bytes of this type, while this
// program blocks without handling events, as it does in the wait before a clipboard read.
// xclip takes the selection in a child process after the command returns.
void offerClipboard(const QByteArray& bytes, const QString& type = QStringLiteral("UTF8_STRING")) {
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
    const Window before = XGetSelectionOwner(d, clipboard);
    run(QStringLiteral("xclip"),
        {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"), type,
         QStringLiteral("-i")},
        bytes);
    bool changed = false;
    for (int i = 0; i < 300 && !changed; ++i) {
        changed = XGetSelectionOwner(d, clipboard) != before;
        if (!changed)
            QThread::msleep(10);
    }
    XCloseDisplay(d);
    ASSERT_TRUE(changed) << "xclip never took the clipboard";
    QThread::msleep(300);
}

Display* qtDisplay() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
}

// The pointer query reports the lock modifiers that are on.
unsigned currentState() {
    Display* d = qtDisplay();
    Window root, child;
    int rx, ry, wx, wy;
    unsigned mask = 0;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rx, &ry, &wx, &wy, &mask);
    return mask;
}

// The reader program, in a process of its own like the browser a user reads in.
class Reader {
public:
    Reader() {
        process_.start(readerPath, {});
        EXPECT_TRUE(process_.waitForStarted(5000));
        windowId_ = waitForLine(QStringLiteral("window ")).mid(7);
    }
    ~Reader() {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(3000);
    }

    void select(const QString& text) {
        process_.write(("select " + text + "\n").toUtf8());
        waitForLine(QStringLiteral("selected"));
    }
    // Gives the reader the keyboard focus and waits until the server agrees.
    void focus() {
        run(QStringLiteral("xdotool"),
            {QStringLiteral("windowactivate"), QStringLiteral("--sync"), windowId_});
        process_.write("activate\n");
        waitForLine(QStringLiteral("activated"));
    }
    // Every key line the reader printed since the last call.
    QStringList takeKeys() {
        process_.waitForReadyRead(50);
        readLines();
        QStringList keys;
        for (const QString& line : std::as_const(lines_))
            if (line.startsWith(QStringLiteral("key ")))
                keys << line.mid(4);
        lines_.clear();
        return keys;
    }
    // Waits until the reader reports the key; false after two seconds.
    bool sawKey(const QString& key) {
        QStringList seen;
        const bool ok = QTest::qWaitFor(
            [&] {
                seen += takeKeys();
                return seen.contains(key);
            },
            2000);
        return ok;
    }

private:
    void readLines() {
        while (process_.canReadLine())
            lines_ << QString::fromUtf8(process_.readLine()).trimmed();
    }
    QString waitForLine(const QString& prefix) {
        QString found;
        (void)QTest::qWaitFor(
            [&] {
                process_.waitForReadyRead(20);
                readLines();
                for (qsizetype i = 0; i < lines_.size(); ++i)
                    if (lines_[i].startsWith(prefix)) {
                        found = lines_.takeAt(i);
                        return true;
                    }
                return false;
            },
            5000);
        EXPECT_FALSE(found.isEmpty()) << "reader never said " << prefix.toStdString();
        return found;
    }

    QProcess process_;
    QString windowId_;
    QStringList lines_;
};

class X11BackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
        backend = createPlatformBackend(window);
        ASSERT_TRUE(backend->hasSystemHotKeys());
        backend->setHotKeyHandler([this](int id) { delivered.push_back(id); });
        reader.focus();
        reader.takeKeys();
    }
    void TearDown() override {
        for (int id = 1; id <= CaptureRowCount; ++id)
            backend->unregisterHotKey(id);
        setLocks(0);
    }

    bool registerRow(int id) { return tryRow(id) == HotKeyResult::Registered; }
    HotKeyResult tryRow(int id) {
        const CaptureRow& row = *findCaptureRow(id);
        return backend->registerHotKey(row.id, row.modifiers, row.virtualKey);
    }
    // Waits for the handler to have been called with exactly these identifiers.
    bool deliveredExactly(const std::vector<int>& ids) {
        (void)QTest::qWaitFor([&] { return delivered.size() >= ids.size(); }, 2000);
        QTest::qWait(50); // a stray second delivery would arrive by now
        const bool same = delivered == ids;
        delivered.clear();
        return same;
    }
    // Turns NumLock and CapsLock on or off through the keyboard, as a user would.
    void setLocks(unsigned wanted) {
        for (auto [mask, key] : {std::pair{lockMask(XK_Num_Lock), "Num_Lock"},
                                 std::pair{unsigned{LockMask}, "Caps_Lock"}}) {
            if (((currentState() & mask) != 0) != ((wanted & mask) != 0))
                pressKey(QString::fromLatin1(key));
            EXPECT_EQ(currentState() & mask, wanted & mask) << key;
        }
        reader.takeKeys();
    }
    static unsigned lockMask(KeySym sym) {
        Display* d = qtDisplay();
        const KeyCode code = XKeysymToKeycode(d, sym);
        XModifierKeymap* map = XGetModifierMapping(d);
        unsigned mask = 0;
        for (int i = 0; i < 8 * map->max_keypermod; ++i)
            if (map->modifiermap[i] == code)
                mask = 1u << (i / map->max_keypermod);
        XFreeModifiermap(map);
        return mask;
    }

    QWidget window;
    Reader reader;
    std::unique_ptr<PlatformBackend> backend;
    std::vector<int> delivered;
};

// xdotool's name of each row's key.
QString xdotoolKey(const CaptureRow& row) {
    if (row.id == 15)
        return QStringLiteral("ctrl+y");
    return QString::fromLatin1(row.key.data(), static_cast<qsizetype>(row.key.size()));
}

TEST_F(X11BackendTest, EveryRowsKeyReachesTheHandlerNotTheReader) {
    for (const CaptureRow& row : captureTable())
        ASSERT_TRUE(registerRow(row.id)) << row.key;
    for (const CaptureRow& row : captureTable()) {
        SCOPED_TRACE(std::string(row.key));
        pressKey(xdotoolKey(row));
        EXPECT_TRUE(deliveredExactly({row.id}));
    }
    EXPECT_EQ(reader.takeKeys(), QStringList());
}

TEST_F(X11BackendTest, KeysWorkWhateverLockIsOn) {
    const unsigned numLock = lockMask(XK_Num_Lock);
    ASSERT_NE(numLock, 0u) << "the server maps no NumLock modifier";
    ASSERT_TRUE(registerRow(2));
    ASSERT_TRUE(registerRow(15));
    struct Row {
        const char* name;
        unsigned locks;
    };
    for (Row row : {Row{"NumLock", numLock}, Row{"CapsLock", LockMask},
                    Row{"both", numLock | LockMask}, Row{"none", 0}}) {
        SCOPED_TRACE(row.name);
        setLocks(row.locks);
        pressKey(QStringLiteral("F2"));
        EXPECT_TRUE(deliveredExactly({2}));
        pressKey(QStringLiteral("ctrl+y"));
        EXPECT_TRUE(deliveredExactly({15}));
    }
    EXPECT_EQ(reader.takeKeys(), QStringList());
}

TEST_F(X11BackendTest, ModifiersMustMatchExactly) {
    ASSERT_TRUE(registerRow(8)); // F8 alone
    ASSERT_TRUE(registerRow(15));
    pressKey(QStringLiteral("ctrl+F8"));
    EXPECT_TRUE(reader.sawKey(QStringLiteral("Ctrl+F8")));
    pressKey(QStringLiteral("y"));
    EXPECT_TRUE(reader.sawKey(QStringLiteral("Y")));
    EXPECT_TRUE(deliveredExactly({}));
}

TEST_F(X11BackendTest, NumericKeypadDigitsAreNotTaken) {
    ASSERT_TRUE(registerRow(13)); // key 1
    setLocks(lockMask(XK_Num_Lock));
    pressKey(QStringLiteral("KP_1"));
    EXPECT_TRUE(reader.sawKey(QStringLiteral("Num+1")));
    EXPECT_TRUE(deliveredExactly({}));
}

TEST_F(X11BackendTest, ReleasedKeyReachesTheFocusedWindow) {
    ASSERT_TRUE(registerRow(4));
    ASSERT_TRUE(registerRow(2));
    EXPECT_TRUE(backend->unregisterHotKey(4));
    EXPECT_FALSE(backend->unregisterHotKey(4)) << "released twice";
    EXPECT_FALSE(backend->unregisterHotKey(11)) << "never registered";

    setLocks(lockMask(XK_Num_Lock)); // the lock combinations go too
    pressKey(QStringLiteral("F4"));
    EXPECT_TRUE(reader.sawKey(QStringLiteral("F4")));
    pressKey(QStringLiteral("F2"));
    EXPECT_TRUE(deliveredExactly({2}));
}

TEST_F(X11BackendTest, RegisteringAgainKeepsTheKey) {
    ASSERT_TRUE(registerRow(1));
    EXPECT_TRUE(registerRow(1)) << "already ours is no failure";
    EXPECT_EQ(backend->registerHotKey(1, 0, 0x72), HotKeyResult::Failed) << "an identifier in use";
    EXPECT_EQ(backend->registerHotKey(7, 0, 0x70), HotKeyResult::Taken) << "a key in use";
    pressKey(QStringLiteral("F1"));
    EXPECT_TRUE(deliveredExactly({1}));
    pressKey(QStringLiteral("F3"));
    EXPECT_TRUE(reader.sawKey(QStringLiteral("F3")));
    EXPECT_TRUE(deliveredExactly({}));
}

TEST_F(X11BackendTest, KeyHeldByAnotherClientFailsQuietly) {
    // Another program on a connection of its own holds F1 (without any lock).
    Display* other = XOpenDisplay(nullptr);
    ASSERT_NE(other, nullptr);
    const KeyCode f1 = XKeysymToKeycode(other, XK_F1);
    XGrabKey(other, f1, 0, DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync);
    XSync(other, False);

    EXPECT_EQ(tryRow(1), HotKeyResult::Taken);
    EXPECT_TRUE(registerRow(2)) << "the failure must not spoil later grabs";
    pressKey(QStringLiteral("F2"));
    EXPECT_TRUE(deliveredExactly({2}));

    // None of F1's lock combinations may stay grabbed after the failure.
    setLocks(lockMask(XK_Num_Lock));
    pressKey(QStringLiteral("F1"));
    EXPECT_TRUE(reader.sawKey(QStringLiteral("F1")));
    EXPECT_TRUE(deliveredExactly({}));

    XCloseDisplay(other); // gives F1 back
    EXPECT_TRUE(registerRow(1)) << "a later attempt succeeds";
    pressKey(QStringLiteral("F1"));
    EXPECT_TRUE(deliveredExactly({1}));
}

// A keyboard map without F9 (as some laptops' have none): told apart from a key held
// elsewhere, and the key registers once the map has it again.
TEST_F(X11BackendTest, KeyMissingFromTheKeyboardIsNoKeyHeldElsewhere) {
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    const KeyCode f9 = XKeysymToKeycode(d, XK_F9);
    ASSERT_NE(f9, 0);
    int perCode = 0;
    KeySym* saved = XGetKeyboardMapping(d, f9, 1, &perCode);
    std::vector<KeySym> none(static_cast<std::size_t>(perCode), NoSymbol);
    XChangeKeyboardMapping(d, f9, perCode, none.data(), 1);
    XSync(d, False);
    EXPECT_EQ(tryRow(9), HotKeyResult::NoSuchKey);

    XChangeKeyboardMapping(d, f9, perCode, saved, 1);
    XSync(d, False);
    XFree(saved);
    XCloseDisplay(d);
    EXPECT_TRUE(registerRow(9));
}

TEST_F(X11BackendTest, KeyPressedDuringTheHandlerWaitsForIt) {
    ASSERT_TRUE(registerRow(2));
    ASSERT_TRUE(registerRow(4));
    std::vector<std::string> log;
    backend->setHotKeyHandler([&](int id) {
        log.push_back("begin " + std::to_string(id));
        if (id == 2) {
            pressKey(QStringLiteral("F4"));
            QTest::qWait(300); // a wait that handles events meanwhile
        }
        log.push_back("end " + std::to_string(id));
    });
    pressKey(QStringLiteral("F2"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return log.size() == 4; }, 3000));
    EXPECT_EQ(log, (std::vector<std::string>{"begin 2", "end 2", "begin 4", "end 4"}));
}

TEST_F(X11BackendTest, CopyKeystrokeReachesTheReaderWhileTheHotKeyIsHeld) {
    ASSERT_TRUE(registerRow(2));
    reader.select(QStringLiteral("gehalten"));
    run(QStringLiteral("xdotool"), {QStringLiteral("keydown"), QStringLiteral("F2")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !delivered.empty(); }, 2000));
    backend->sendCopyKeystroke();
    EXPECT_TRUE(reader.sawKey(QStringLiteral("Ctrl+C")));
    run(QStringLiteral("xdotool"), {QStringLiteral("keyup"), QStringLiteral("F2")});
    EXPECT_EQ(delivered, std::vector<int>{2});
}

TEST_F(X11BackendTest, CopyKeystrokeMakesTheFocusedWindowCopy) {
    struct Row {
        const char* name;
        QString selection;
        std::string expected;
    };
    const Row rows[] = {
        {"plain", QStringLiteral("Das ist ein Demonstrationstitel"),
         "Das ist ein Demonstrationstitel"},
        {"umlaut and line break", QString::fromUtf8("Gr\u00fc\u00dfe\\nzwei Zeilen"),
         "Gr\xFC\xDF"
         "e\r\nzwei Zeilen"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reader.select(row.selection);
        QGuiApplication::clipboard()->clear();
        backend->sendCopyKeystroke();
        ClipboardText got;
        (void)QTest::qWaitFor(
            [&] {
                got = backend->readText();
                return got.status == ClipboardText::Status::Text;
            },
            3000);
        EXPECT_EQ(got.status, ClipboardText::Status::Text);
        EXPECT_EQ(got.text, row.expected);
        EXPECT_EQ(reader.takeKeys(), QStringList{QStringLiteral("Ctrl+C")});
    }
}

TEST_F(X11BackendTest, ClipboardOfAnotherProgramAsDocumentText) {
    using S = ClipboardText::Status;
    struct Row {
        const char* name;
        QByteArray bytes;
        QString type;
        S status;
        std::string expected;
    };
    const QString utf8 = QStringLiteral("UTF8_STRING");
    // A picture between texts: what Qt knew of the previous owner must not leak into a read.
    const Row rows[] = {
        {"lf lines", "erste\nzweite\n", utf8, S::Text, "erste\r\nzweite\r\n"},
        {"crlf kept", "a\r\nb", utf8, S::Text, "a\r\nb"},
        {"picture only", QByteArray("\x89PNG\r\n\x1a\n", 8), QStringLiteral("image/png"), S::NoText,
         ""},
        {"cp1252 letters",
         "\xE2\x80\x9E"
         "Zitat\xE2\x80\x9C \xE2\x82\xAC",
         utf8, S::Text, "\x84Zitat\x93 \x80"},
        {"outside the code page", "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80", utf8, S::Text,
         "?? ?"},
        {"plain text type", "text/plain", QStringLiteral("text/plain"), S::Text, "text/plain"},
        {"empty text", "", utf8, S::Text, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        offerClipboard(row.bytes, row.type);
        const ClipboardText got = backend->readText();
        EXPECT_EQ(got.status, row.status);
        EXPECT_EQ(got.text, row.expected);
    }
}

TEST_F(X11BackendTest, ClipboardNobodyOwnsGivesNoText) {
    offerClipboard("text");
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
    XSetSelectionOwner(d, clipboard, None, CurrentTime);
    XSync(d, False);
    EXPECT_EQ(XGetSelectionOwner(d, clipboard), Window{None});
    XCloseDisplay(d);
    EXPECT_EQ(backend->readText().status, ClipboardText::Status::NoText);
}

// A text larger than one request can carry comes in pieces (xclip sends more than 1 MB so).
TEST_F(X11BackendTest, LargeClipboardTextComesInPieces) {
    const QByteArray large(3 * 1024 * 1024 + 5, 'a');
    offerClipboard(large);
    const ClipboardText got = backend->readText();
    EXPECT_EQ(got.status, ClipboardText::Status::Text);
    EXPECT_EQ(got.text.size(), std::size_t(large.size()));
    EXPECT_TRUE(got.text == large.toStdString());
}

// Text copied in the program's own window comes back through the server too, so the
// program must answer its own request while it waits for the answer.
TEST_F(X11BackendTest, ClipboardOfThisProgram) {
    QGuiApplication::clipboard()->setText(QStringLiteral("aus Memo1"));
    EXPECT_EQ(backend->readText().text, "aus Memo1");
}

// The highlighted text (PRIMARY) of another program is new at each new owner and read as
// document text; this program's own highlight, or one nobody holds, is nothing to take.
TEST_F(X11BackendTest, HighlightOfAnotherProgramOnly) {
    const Clipboard::ChangeMark before = backend->highlightMark();
    run(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("primary")},
        "erste\nZeile \xE2\x82\xAC");
    ASSERT_TRUE(QTest::qWaitFor([&] { return backend->highlightMark() != before; }, 3000));
    const Clipboard::ChangeMark other = backend->highlightMark();
    EXPECT_NE(other, 0u);
    EXPECT_EQ(backend->readHighlight().text, "erste\r\nZeile \x80");

    QGuiApplication::clipboard()->setText(QStringLiteral("eigen"), QClipboard::Selection);
    EXPECT_TRUE(QTest::qWaitFor([&] { return backend->highlightMark() == 0; }, 3000));

    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    XSetSelectionOwner(d, XA_PRIMARY, None, CurrentTime);
    XCloseDisplay(d);
    EXPECT_EQ(backend->highlightMark(), 0u);
    EXPECT_EQ(backend->copyWay(), CopyWay::Keystroke) << "the reader is no terminal";
}

class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// An owner that never answers (a stopped xclip) costs about a second, not Qt's ten, and the
// program keeps painting meanwhile.
TEST_F(X11BackendTest, ClipboardOwnerThatNeverAnswersFailsSoon) {
    QProcess owner; // in the foreground, so that its process is the one to stop
    owner.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                          QStringLiteral("-i"), QStringLiteral("-quiet")});
    ASSERT_TRUE(owner.waitForStarted(5000));
    const Clipboard::ChangeMark mark = backend->changeMark();
    owner.write("gestoppt");
    owner.closeWriteChannel();
    ASSERT_TRUE(backend->waitForChange(mark, 5000)) << "xclip never took the clipboard";
    ::kill(static_cast<pid_t>(owner.processId()), SIGSTOP);

    PaintCounter window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const int paints = window.paints;
    QTimer::singleShot(200, &window, [&] { window.update(); });
    QElapsedTimer clock;
    clock.start();
    const ClipboardText got = backend->readText();
    const qint64 took = clock.elapsed();
    ::kill(static_cast<pid_t>(owner.processId()), SIGCONT);
    owner.kill();
    owner.waitForFinished(3000);

    EXPECT_EQ(got.status, ClipboardText::Status::CannotOpen);
    EXPECT_LT(took, 5000);
    EXPECT_GT(window.paints, paints);
}

} // namespace
} // namespace quillet

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s READER\n", argv[0]);
        return 2;
    }
    quillet::readerPath = QString::fromLocal8Bit(argv[1]);
    return RUN_ALL_TESTS();
}
