#include "app/controls_page.h"
#include "app/message_boxes.h"
#include "support/window_fakes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace quillet;

namespace {

const QStringList startRegistrations{
    "register 1 0 0x70",  "register 2 0 0x71",  "register 3 0 0x72",  "register 4 0 0x73",
    "register 5 0 0x74",  "register 6 0 0x75",  "register 7 0 0x76",  "register 10 0 0x79",
    "register 12 0 0x32", "register 13 0 0x31", "register 14 0 0x33", "register 15 2 0x59",
    "register 16 0 0x34"};

// Identifier, box, registration; in the order a click re-evaluates them.
struct Key {
    int id;
    const char* box;
    const char* registration;
};
const Key reevaluation[] = {
    {1, "CheckBox2", "register 1 0 0x70"},    {2, "CheckBox3", "register 2 0 0x71"},
    {3, "CheckBox4", "register 3 0 0x72"},    {4, "CheckBox5", "register 4 0 0x73"},
    {5, "CheckBox6", "register 5 0 0x74"},    {6, "CheckBox7", "register 6 0 0x75"},
    {7, "CheckBox8", "register 7 0 0x76"},    {8, "CheckBox10", "register 8 0 0x77"},
    {9, "CheckBox11", "register 9 0 0x78"},   {10, "CheckBox9", "register 10 0 0x79"},
    {11, "CheckBox12", "register 11 0 0x30"}, {13, "CheckBox14", "register 13 0 0x31"},
    {12, "CheckBox13", "register 12 0 0x32"}, {14, "CheckBox15", "register 14 0 0x33"},
    {15, "CheckBox16", "register 15 2 0x59"}, {16, "CheckBox18", "register 16 0 0x34"},
};

// What a click must do: every row registered or released as its box says now.
QStringList expectedAfterClick(const MainWindow& form) {
    QStringList calls;
    for (const Key& k : reevaluation) {
        if (form.findChild<QCheckBox*>(k.box)->isChecked())
            calls << k.registration;
        else
            calls << QStringLiteral("unregister %1").arg(k.id);
    }
    return calls;
}

class MainWindowHotKeysTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startRegistersTheCheckedKeysInOrder() {
        test::FakeWindow w;
        QCOMPARE(w.journal.take(), startRegistrations);
    }

    void exitReleasesAllSixteen() {
        test::Journal journal;
        {
            test::FakeWaiter waiter(journal);
            MainWindow form(
                {[&](QWidget&) { return std::make_unique<test::FakeBackend>(journal); }, &waiter});
            journal.take();
        }
        QStringList expected;
        for (int id = 1; id <= 16; ++id)
            expected << QStringLiteral("unregister %1").arg(id);
        QCOMPARE(journal.take(), expected);
    }

    void clickOnEachBox_data() {
        QTest::addColumn<QString>("box");
        test::FakeWindow w;
        for (QCheckBox* box : w.form->controlsPage().hotKeyBoxes())
            QTest::newRow(qPrintable(box->objectName())) << box->objectName();
    }

    // Whichever box is clicked, all sixteen rows follow their boxes, clicked off and on.
    void clickOnEachBox() {
        QFETCH(QString, box);
        test::FakeWindow w;
        w.form->pages().setCurrentWidget(&w.form->controlsPage());
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        w.journal.take();
        auto* clicked = w.form->findChild<QCheckBox*>(box);
        const bool before = clicked->isChecked();

        QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(4, clicked->height() / 2));
        QCOMPARE(clicked->isChecked(), !before);
        QCOMPARE(w.journal.take(), expectedAfterClick(*w.form));

        clicked->click();
        QCOMPARE(clicked->isChecked(), before);
        QCOMPARE(w.journal.take(), expectedAfterClick(*w.form));
    }

    void fifteenBoxesShareTheHandler() {
        test::FakeWindow w;
        QCOMPARE(w.form->controlsPage().hotKeyBoxes().size(), std::size_t(15));
    }

    // CheckBox16 takes effect only at the next click of a box of the "Controls" page.
    void checkBox16HasNoHandler() {
        test::FakeWindow w;
        w.journal.take();
        w.form->findChild<QCheckBox*>("CheckBox16")->click();
        QVERIFY(w.journal.take().isEmpty());

        w.form->findChild<QCheckBox*>("CheckBox10")->click();
        const QStringList calls = w.journal.take();
        QVERIFY(calls.contains("unregister 15"));
        QVERIFY(calls.contains("register 8 0 0x77"));
    }

    void displayWithoutHotKeysIsToldOnce() {
        test::FakeWindow w;
        w.journal.systemHotKeys = false;
        MessageBoxHook hook;
        w.form->tellAboutHotKeys();
        w.form->tellAboutHotKeys();
        QCOMPARE(hook.shown().size(), std::size_t(1));
        QCOMPARE(hook.shown()[0].caption, QString("Information"));
        QVERIFY(hook.shown()[0].text.contains("nicht verfügbar"));
    }

    // What the backend finds out late about the desktop, shown as it comes, each text once,
    // in a window that blocks nothing and takes no focus; an empty text takes it back.
    void desktopNoticesAreToldOnceEach() {
        test::FakeWindow w;
        MessageBoxHook hook;
        w.journal.notice(QStringLiteral("kein Portal"));
        auto* notice = w.form->findChild<QMessageBox*>("DesktopNotice");
        QVERIFY(notice);
        QVERIFY(notice->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(notice->testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(notice->windowTitle(), QString("Information"));
        QCOMPARE(notice->text(), QString("kein Portal"));
        notice->buttons().front()->click();
        QVERIFY(!notice->isVisible());
        w.journal.notice(QStringLiteral("kein Portal"));
        QVERIFY(!notice->isVisible());
        w.journal.notice(QStringLiteral("kein Data-Control"));
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->text(), QString("kein Data-Control"));
        w.journal.notice(QString());
        QVERIFY(!notice->isVisible());
        QVERIFY(hook.shown().empty());
    }

    // Told at start and after a click that fails anew; a key that stays taken is not told
    // again at every click, and its box stays checked.
    void keysHeldElsewhereAreToldOnce() {
        test::Journal journal;
        journal.heldElsewhere = {4, 15};
        test::FakeWaiter waiter(journal);
        MainWindow form(
            {[&](QWidget&) { return std::make_unique<test::FakeBackend>(journal); }, &waiter});
        MessageBoxHook hook;
        form.tellAboutHotKeys();
        QCOMPARE(hook.shown().size(), std::size_t(1));
        QCOMPARE(hook.shown()[0].caption, QString("Warnung"));
        QVERIFY(hook.shown()[0].text.contains("bleiben ohne Wirkung: F4, Strg+Y."));
        auto* f4 = form.findChild<QCheckBox*>("CheckBox5");
        QVERIFY(f4->isChecked());

        form.findChild<QCheckBox*>("CheckBox10")->click();
        f4->click();
        QCOMPARE(hook.shown().size(), std::size_t(1));
        f4->click();
        QCOMPARE(hook.shown().size(), std::size_t(2));
        QVERIFY(hook.shown()[1].text.contains("ohne Wirkung: F4."));
    }

    // A key the keyboard lacks is not said to be taken: one box, a paragraph for each.
    void keysMissingFromTheKeyboardAreToldApart() {
        test::Journal journal;
        journal.heldElsewhere = {4};
        journal.missingKeys = {9, 14};
        test::FakeWaiter waiter(journal);
        MainWindow form(
            {[&](QWidget&) { return std::make_unique<test::FakeBackend>(journal); }, &waiter});
        MessageBoxHook hook;
        form.tellAboutHotKeys();
        QCOMPARE(hook.shown().size(), std::size_t(1));
        const QString& text = hook.shown()[0].text;
        QVERIFY(text.contains("belegt und bleiben ohne Wirkung: F4."));
        QVERIFY(text.contains("gibt es auf der Tastatur nicht, ihre Tastenkürzel bleiben ohne "
                              "Wirkung: 3."));
        QVERIFY2(!text.contains("F9"), "F9 is not switched on at start");

        form.findChild<QCheckBox*>("CheckBox11")->click(); // F9 on
        QCOMPARE(hook.shown().size(), std::size_t(2));
        QVERIFY(hook.shown()[1].text.startsWith("Diese Tasten gibt es auf der Tastatur nicht"));
        QVERIFY(hook.shown()[1].text.contains("ohne Wirkung: F9."));
        QVERIFY(!hook.shown()[1].text.contains("belegt"));
    }

    // Shown only where GNOME's custom shortcuts bring the keys; a click writes them (here
    // into a settings file of the test's own) and says what it did.
    void gnomeShortcutsButtonOnlyInGnomeOnWayland() {
        const QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        qputenv("GSETTINGS_BACKEND", "keyfile");
        qputenv("WAYLAND_DISPLAY", "wayland-quillet-test");
        qunsetenv("XDG_CURRENT_DESKTOP");
        const auto button = [](const test::FakeWindow& w) {
            return w.form->findChild<QPushButton*>("GnomeShortcutsButton");
        };
        QVERIFY(button(test::FakeWindow())->isHidden());
        qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
        test::FakeWindow w;
        QVERIFY(!button(w)->isHidden());
        MessageBoxHook hook;
        button(w)->click();
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("WAYLAND_DISPLAY");
        QCOMPARE(hook.shown().size(), std::size_t(1));
        QCOMPARE(hook.shown()[0].caption, QString("Information"));
        QVERIFY2(hook.shown()[0].text.contains("--hotkey N): F1, F2, F3"),
                 qPrintable(hook.shown()[0].text));
        QFile store(home.filePath("glib-2.0/settings/keyfile"));
        QVERIFY(store.open(QIODevice::ReadOnly));
        const QByteArray stored = store.readAll();
        QVERIFY(stored.contains("custom-keybindings/quillet-hotkey-15]"));
        QVERIFY(stored.contains("binding='<Control>y'"));
    }

    void displayWithHotKeysSaysNothing() {
        test::FakeWindow w;
        MessageBoxHook hook;
        w.form->tellAboutHotKeys();
        QVERIFY(hook.shown().empty());
    }
};

} // namespace

QTEST_MAIN(MainWindowHotKeysTest)
#include "main_window_hotkeys_test.moc"
