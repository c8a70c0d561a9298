// The portal client and the Wayland backend's wiring against a fake portal on a private
// session bus (run under dbus-run-session), without a compositor; and the rules of its
// pieces that need none.
#include "platform/focus_highlight.h"
#include "platform/hotkey_delivery.h"
#include "platform/linux_backends.h"
#include "platform/portal_shortcuts.h"
#include "platform/wayland_notice.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <future>
#include <map>

namespace quillet {
namespace {

using Stage = GlobalShortcutsClient::Stage;

QString fakePortalScript;
const QString PortalName = QStringLiteral("org.freedesktop.portal.Desktop");

bool portalRuns() {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(PortalName);
}

// The fake portal of one test; it and its bus name are gone when the test ends.
class FakePortal {
public:
    FakePortal() {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(fakePortalScript);
        EXPECT_TRUE(QTest::qWaitFor(portalRuns, 10000)) << "the fake portal did not start";
    }
    ~FakePortal() {
        process_.kill();
        process_.waitForFinished();
        EXPECT_TRUE(QTest::qWaitFor([] { return !portalRuns(); }, 5000));
    }

    QVariant control(const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            PortalName, QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.quillet.FakePortal"), method);
        call.setArguments(arguments);
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << qPrintable(reply.errorMessage());
        return reply.arguments().value(0);
    }
    QStringList calls() { return control(QStringLiteral("Calls")).toStringList(); }
    QString session() {
        const auto sessions =
            qdbus_cast<QList<QDBusObjectPath>>(control(QStringLiteral("Sessions")));
        return sessions.isEmpty() ? QString() : sessions.front().path();
    }
    void activate(const QString& session, const QString& id) {
        control(QStringLiteral("Activate"), {QVariant::fromValue(QDBusObjectPath(session)), id});
    }

private:
    QProcess process_;
};

// What one client reported.
struct Report {
    std::optional<QStringList> bound;
    std::optional<Stage> failedAt;
    unsigned code = 0;
    QString detail;
    QStringList activated;
};

void watch(GlobalShortcutsClient& client, Report& r) {
    QObject::connect(&client, &GlobalShortcutsClient::bound,
                     [&r](const QStringList& ids) { r.bound = ids; });
    QObject::connect(&client, &GlobalShortcutsClient::failed,
                     [&r](Stage stage, unsigned code, const QString& detail) {
                         r.failedAt = stage;
                         r.code = code;
                         r.detail = detail;
                     });
    QObject::connect(&client, &GlobalShortcutsClient::activated,
                     [&r](const QString& id) { r.activated << id; });
}

const QList<PortalShortcut> TwoShortcuts{
    {QStringLiteral("title"), QStringLiteral("Titel"), QStringLiteral("F2")},
    {QStringLiteral("hide"), QStringLiteral("Verbergen"), QStringLiteral("CTRL+y")}};

TEST(PortalClient, BindsInBothFormsAndTakesOnlyItsOwnSessionsActivations) {
    FakePortal portal;
    GlobalShortcutsClient client(QDBusConnection::sessionBus());
    Report r;
    watch(client, r);
    client.start({}, TwoShortcuts);
    // The portal answers right after its reply: only a client listening first sees it.
    ASSERT_TRUE(QTest::qWaitFor([&r] { return r.bound.has_value(); }, 5000));
    EXPECT_EQ(*r.bound, (QStringList{"title", "hide"}));
    EXPECT_EQ(portal.calls(), (QStringList{"CreateSession 2", "BindShortcuts 2 F2,CTRL+y"}));

    const QString ours = portal.session();
    EXPECT_TRUE(ours.endsWith(QLatin1String("/quillet"))) << qPrintable(ours);
    portal.activate(QStringLiteral("/org/freedesktop/portal/desktop/session/1_999/other"),
                    QStringLiteral("title"));
    portal.activate(ours, QStringLiteral("hide"));
    ASSERT_TRUE(QTest::qWaitFor([&r] { return !r.activated.isEmpty(); }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(r.activated, QStringList{"hide"});
}

TEST(PortalClient, NamesTheApplicationFirstWhereThePortalHasARegistry) {
    FakePortal portal;
    portal.control(QStringLiteral("SetRegistry"), {true});
    GlobalShortcutsClient client(QDBusConnection::sessionBus());
    Report r;
    watch(client, r);
    client.start(QStringLiteral("org.quillet.Quillet"), TwoShortcuts);
    ASSERT_TRUE(QTest::qWaitFor([&r] { return r.bound.has_value(); }, 5000));
    EXPECT_EQ(portal.calls().mid(0, 2),
              (QStringList{"Register org.quillet.Quillet", "CreateSession 2"}));
}

TEST(PortalClient, WithoutPortalFailsAtOnce) {
    ASSERT_FALSE(portalRuns());
    GlobalShortcutsClient client(QDBusConnection::sessionBus());
    Report r;
    watch(client, r);
    client.start(QStringLiteral("org.quillet.Quillet"), TwoShortcuts);
    ASSERT_TRUE(QTest::qWaitFor([&r] { return r.failedAt.has_value(); }, 2000));
    EXPECT_EQ(*r.failedAt, Stage::CreateSession);
    EXPECT_EQ(r.code, GlobalShortcutsClient::CallFailed);
    EXPECT_TRUE(r.detail.contains(QLatin1String("ServiceUnknown"))) << qPrintable(r.detail);
}

struct AnswerCase {
    const char* name;
    const char* method;
    int answer; // -1: the portal never answers
    Stage stage;
    unsigned code;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.name;
}

const AnswerCase answerCases[] = {
    {"SessionCancelled", "CreateSession", 1, Stage::CreateSession, 1},
    {"SessionRefused", "CreateSession", 2, Stage::CreateSession, 2},
    {"SessionUnanswered", "CreateSession", -1, Stage::CreateSession,
     GlobalShortcutsClient::NoAnswer},
    {"BindCancelled", "BindShortcuts", 1, Stage::BindShortcuts, 1},
    {"BindRefused", "BindShortcuts", 2, Stage::BindShortcuts, 2},
    {"BindUnanswered", "BindShortcuts", -1, Stage::BindShortcuts, GlobalShortcutsClient::NoAnswer},
};

class PortalAnswers : public testing::TestWithParam<AnswerCase> {};

TEST_P(PortalAnswers, FailAtTheirStage) {
    const AnswerCase& c = GetParam();
    FakePortal portal;
    portal.control(QStringLiteral("SetAnswer"), {QString::fromLatin1(c.method), c.answer});
    GlobalShortcutsClient client(QDBusConnection::sessionBus(), 300);
    Report r;
    watch(client, r);
    client.start({}, TwoShortcuts);
    ASSERT_TRUE(QTest::qWaitFor([&r] { return r.failedAt || r.bound; }, 5000));
    EXPECT_FALSE(r.bound.has_value());
    EXPECT_EQ(r.failedAt, c.stage);
    EXPECT_EQ(r.code, c.code);
}

INSTANTIATE_TEST_SUITE_P(Rows, PortalAnswers, testing::ValuesIn(answerCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The backend without a compositor: keys through the portal and `quillet --hotkey`.
class WaylandBackendTest : public testing::Test {
protected:
    std::unique_ptr<PlatformBackend> start() {
        auto backend = makeWaylandBackend(window);
        backend->setHotKeyHandler([this](int id) { delivered.push_back(id); });
        backend->setNoticeHandler([this](const QString& text) { notices << text; });
        return backend;
    }
    bool noticed() const { return !notices.isEmpty(); }

    QWidget window;
    std::vector<int> delivered;
    QStringList notices;
};

TEST_F(WaylandBackendTest, DeliversOnlyTheKeysInForce) {
    FakePortal portal;
    auto backend = start();
    backend->registerHotKey(2, 0, 0x71);
    ASSERT_TRUE(QTest::qWaitFor([this] { return noticed(); }, 5000)); // told once bound
    EXPECT_EQ(portal.calls(),
              (QStringList{"CreateSession 16",
                           "BindShortcuts 16 F1,F2,F3,F4,F5,F6,F7,F8,F9,F10,0,2,1,3,CTRL+y,4"}));

    const QString session = portal.session();
    portal.activate(session, QStringLiteral("hotkey-4")); // bound, but its box is off
    portal.activate(session, QStringLiteral("hotkey-2"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !delivered.empty(); }, 5000));
    backend->unregisterHotKey(2);
    portal.activate(session, QStringLiteral("hotkey-2"));
    QTest::qWait(200);
    EXPECT_EQ(delivered, std::vector<int>{2});
}

TEST_F(WaylandBackendTest, HandsOverKeysFromTheCommandLine) {
    EXPECT_EQ(handHotKeyToRunningInstance(2), HandOff::NoInstance);
    {
        auto backend = start();
        backend->registerHotKey(2, 0, 0x71);
        // The command runs in a process of its own; a thread stands in for it here.
        for (const auto& [id, expected] : {std::pair{2, HandOff::Taken}, {4, HandOff::KeyOff}}) {
            auto handOff = std::async(std::launch::async, handHotKeyToRunningInstance, id);
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    return handOff.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
                },
                15000));
            EXPECT_EQ(handOff.get(), expected) << "key " << id;
        }
        QTest::qWait(50);
        EXPECT_EQ(delivered, std::vector<int>{2});
    }
    EXPECT_EQ(handHotKeyToRunningInstance(2), HandOff::NoInstance);
}

TEST_F(WaylandBackendTest, SaysWhatIsMissingWithoutPortalAndCompositor) {
    auto backend = start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return noticed(); }, 5000));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(QStringLiteral("kein Desktop-Portal gefunden")));
    EXPECT_TRUE(notices[0].contains(QStringLiteral("quillet --hotkey N")));
    EXPECT_TRUE(notices[0].contains(QStringLiteral("Data-Control")));
    EXPECT_EQ(backend->readText().status, ClipboardText::Status::NoText);

    // A key handed over by the command shows that the keys work: the notice is taken back.
    auto handOff = std::async(std::launch::async, handHotKeyToRunningInstance, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notices.size() == 2; }, 15000));
    EXPECT_EQ(notices[1], QString());
    handOff.wait();
}

// A key waits for the one before it, but not for a box that one left open.
TEST(HotKeyDelivery, KeysAreNotHeldBackByAnOpenBox) {
    HotKeyDelivery delivery;
    std::vector<int> handled;
    delivery.setHandler([&](int id) {
        handled.push_back(id);
        if (id != 10)
            return;
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Fehler"), QStringLiteral("offen"));
        QTimer::singleShot(0, [&] { delivery.post(2); });
        QTimer::singleShot(300, &box, [&] { box.accept(); });
        box.exec();
        handled.push_back(-10); // the box closed
    });
    delivery.post(10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return handled.size() == 3; }, 5000));
    EXPECT_EQ(handled, (std::vector<int>{10, 2, -10}));
}

struct ReadRow {
    SelectionRead::Outcome outcome;
    std::string text;
    std::vector<std::string> types{"text/plain;charset=utf-8"};
    std::vector<std::pair<std::string, std::string>> extras{};
};
constexpr auto Found = SelectionRead::Outcome::Text;
constexpr auto Nothing = SelectionRead::Outcome::NoText;
constexpr auto Failed = SelectionRead::Outcome::NoAnswer;

struct MarkCase {
    const char* name;
    std::vector<ReadRow> reads;
    // A letter per read: the same letter the same mark, another letter another mark, and
    // "0" for no mark.
    const char* marks;
};

void PrintTo(const MarkCase& c, std::ostream* os) {
    *os << c.name;
}

const MarkCase markCases[] = {
    {"SameTextSameMark", {{Found, "a"}, {Found, "a"}}, "xx"},
    {"OtherTextNewMark", {{Found, "a"}, {Found, "b"}}, "xy"},
    {"TextBackIsNewAgain", {{Found, "a"}, {Found, "b"}, {Found, "a"}}, "xyz"},
    {"NothingBetweenMakesItNew", {{Found, "a"}, {Nothing, ""}, {Found, "a"}}, "x0y"},
    {"FailedReadOwnMarkForgetsNothing", {{Found, "a"}, {Failed, ""}, {Found, "a"}}, "xyx"},
    {"OtherTypesNewMark", {{Found, "a"}, {Found, "a", {"text/plain", "UTF8_STRING"}}}, "xy"},
    {"OtherAddressNewMark",
     {{Found, "a", {}, {{"text/x-moz-url-priv", "https://a/"}}},
      {Found, "a", {}, {{"text/x-moz-url-priv", "https://b/"}}}},
     "xy"},
};

class HighlightMarksTable : public testing::TestWithParam<MarkCase> {};

TEST_P(HighlightMarksTable, TellNewHighlightsFromOldOnes) {
    HighlightMarks marks;
    std::map<char, Clipboard::ChangeMark> byLetter;
    const std::string letters = GetParam().marks;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const ReadRow& r = GetParam().reads[i];
        const Clipboard::ChangeMark mark = marks.markOf({r.outcome, r.text, r.types, r.extras});
        const char letter = letters[i];
        if (letter == '0') {
            EXPECT_EQ(mark, 0u) << "read " << i;
            continue;
        }
        EXPECT_NE(mark, 0u) << "read " << i;
        for (const auto& [other, otherMark] : byLetter) {
            if (other != letter) {
                EXPECT_NE(mark, otherMark) << "read " << i << " is '" << other << "'";
            }
        }
        const auto known = byLetter.try_emplace(letter, mark).first;
        EXPECT_EQ(known->second, mark) << "read " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, HighlightMarksTable, testing::ValuesIn(markCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A moment of focus reads the browser's address beside the highlight, as the other
// selection readers do; Firefox's comes in UTF-16LE.
TEST(FocusHighlight, AsksForThePageAddressAndHandsItOn) {
    struct Reader final : SurfaceSelectionReader {
        std::vector<std::string> askedFor;
        SelectionRead read(std::chrono::milliseconds,
                           const std::vector<std::string>& extra) override {
            askedFor = extra;
            return {Found,
                    "a",
                    {"text/plain", "text/x-moz-url-priv"},
                    {{"text/x-moz-url-priv", std::string("h\0t\0t\0p\0:\0/\0/\0\xE4\0", 16)}}};
        }
    };
    auto reader = std::make_unique<Reader>();
    Reader& seen = *reader;
    FocusHighlight highlight(std::move(reader));
    EXPECT_NE(highlight.mark(), 0u);
    EXPECT_EQ(seen.askedFor,
              (std::vector<std::string>{"chromium/x-source-url", "text/x-moz-url-priv"}));
    EXPECT_EQ(highlight.take().sourceAddress, "http://\xC3\xA4");
}

struct NoticeCase {
    const char* name;
    WaylandAbilities abilities;
    std::vector<const char*> says;
    std::vector<const char*> saysNot;
};

void PrintTo(const NoticeCase& c, std::ostream* os) {
    *os << c.name;
}

using Keys = WaylandAbilities::Keys;
using Text = WaylandAbilities::Text;

const NoticeCase noticeCases[] = {
    {"AllWorks", {Keys::Portal, {}, {}, Text::Clipboard, false, true}, {}, {"Quillet"}},
    {"KeysLeftOut",
     {Keys::Portal, {}, {"0", "F8"}, Text::Clipboard, false, true},
     {"nicht vergeben: 0, F8", "quillet --hotkey N"},
     {"Text übernehmen"}},
    {"SwayWithoutPortal",
     {Keys::Commands, "kein Desktop-Portal gefunden", {}, Text::Clipboard, false, false},
     {"(kein Desktop-Portal gefunden)", "bindsym F1 exec quillet --hotkey 1"},
     {"GNOME", "Text übernehmen"}},
    {"KWinWithoutFakeInput",
     {Keys::Portal, {}, {}, Text::Primary, false, true},
     {"kein Strg+C", "primäre Auswahl", "org.quillet.Quillet.desktop"},
     {"Tastenkürzel"}},
    {"GnomeHasNeither",
     {Keys::Commands,
      "das Desktop-Portal bietet GlobalShortcuts nicht an",
      {},
      Text::None,
      true,
      false},
     {"Eigene Tastenkürzel", "Data-Control", "GNOME on Xorg", "fügen nichts ein"},
     {"primäre"}},
    {"GnomeReadsTheHighlight",
     {Keys::Commands,
      "das Desktop-Portal bietet GlobalShortcuts nicht an",
      {},
      Text::FocusedPrimary,
      true,
      false},
     {"quillet --setup-gnome-shortcuts", "Set up GNOME shortcuts", "primäre Auswahl",
      "Augenblick die Tastatur"},
     {"Data-Control", "GNOME on Xorg", "fügen nichts ein"}},
};

class NoticeTable : public testing::TestWithParam<NoticeCase> {};

TEST_P(NoticeTable, NamesWhatIsMissing) {
    const QString text = waylandNotice(GetParam().abilities);
    for (const char* part : GetParam().says)
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part << " in " << text.toStdString();
    for (const char* part : GetParam().saysNot)
        EXPECT_FALSE(text.contains(QString::fromUtf8(part)))
            << part << " in " << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, NoticeTable, testing::ValuesIn(noticeCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quillet

int main(int argc, char** argv) {
    // No compositor: the backend must say so instead of reading anything.
    qputenv("WAYLAND_DISPLAY", "/nonexistent/quillet-test-compositor");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FAKE_PORTAL_SCRIPT (on a private session bus)\n", argv[0]);
        return 2;
    }
    quillet::fakePortalScript = QString::fromLocal8Bit(argv[1]);
    return RUN_ALL_TESTS();
}
