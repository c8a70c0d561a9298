#include "app/message_boxes.h"
#include "app/notification_window.h"
#include "app/textview_page.h"
#include "platform/qt_text.h"
#include "support/window_fakes.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

using namespace quillet;

namespace {

// A window on fakes with its notification window, as the program wires them.
struct Harness : test::FakeWindow {
    NotificationWindow& form2 = form->notificationWindow();
    Harness() { journal.take(); }
    std::string document() const { return toDocumentText(memo()->toPlainText()); }
    QPlainTextEdit* memo() const { return form->findChild<QPlainTextEdit*>("Memo1"); }
    QString notification() const { return form2.label()->text(); }
    template <typename T> T* control(const char* name) const { return form->findChild<T*>(name); }
};

class Saver : public HotKeySaver {
public:
    int calls = 0;
    std::optional<std::string> saveFromHotKey() override {
        ++calls;
        return "Datei gespeichert..";
    }
};

class MainWindowDispatchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statusTexts_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("status");
        QTest::newRow("F1") << 1 << "{OBERTITEL}X{/OBERTITEL}\n\n"
                            << "Obertitel kopiert..";
        QTest::newRow("F2") << 2 << "{TITEL}X{/TITEL}\n\n"
                            << "Titel kopiert..";
        QTest::newRow("F3") << 3 << "{UNTERTITEL}X{/UNTERTITEL}\n\n"
                            << "Untertitel kopiert..";
        QTest::newRow("F4") << 4 << "{TEXT}X{/TEXT}\n\n"
                            << "Text kopiert..";
        QTest::newRow("F5") << 5 << "{E_DATUM}X{/E_DATUM}\n\n"
                            << "Erscheinungsdatum kopiert..";
        QTest::newRow("F6") << 6 << "{A_DATUM}07.12.2026{/A_DATUM}\n\n"
                            << "Aufnahmedatum eingefügt..";
        QTest::newRow("F7") << 7 << "{THEMA}X{/THEMA}\n\n"
                            << "Thema kopiert..";
        QTest::newRow("key 2") << 12 << "{AUTOR}X{/AUTOR}\n\n"
                               << "AutorIn kopiert..";
        QTest::newRow("key 1") << 13 << "{QUELLE}X{/QUELLE}\n\n"
                               << "Quelle kopiert..";
        QTest::newRow("key 3") << 14 << "{MEDIUM}X{/MEDIUM}\n\n"
                               << "Medium kopiert..";
        QTest::newRow("key 4") << 16 << "{SEITE}X{/SEITE}\n\n"
                               << "Seitenzahl kopiert..";
    }

    // Through the window: keystroke, wait, clipboard, Memo1 and the notification window.
    void statusTexts() {
        QFETCH(int, id);
        QFETCH(QString, document);
        QFETCH(QString, status);
        Harness h;
        h.press(id);
        QCOMPARE(h.memo()->toPlainText(), document);
        QCOMPARE(h.notification(), status);
        QVERIFY(h.form2.isVisible());
        const QStringList expected =
            id == 6 ? QStringList{} : QStringList{"ctrl+c", "sleep 20", "clipboard"};
        QCOMPARE(h.journal.take(), expected);
    }

    void titleThenTextTwiceBuildsTheExample() {
        Harness h;
        h.journal.clip.text = "Das ist ein Demonstrationstitel";
        h.press(2);
        h.journal.clip.text = "Dieser Text war zuerst da.";
        h.press(4);
        h.journal.clip.text = "Dann kam dieser Satz hinzu.";
        h.press(4);
        QCOMPARE(h.document(), std::string("{TITEL}Das ist ein Demonstrationstitel{/TITEL}\r\n"
                                           "\r\n"
                                           "{TEXT}Dieser Text war zuerst da.\r\n"
                                           "\r\n"
                                           "Dann kam dieser Satz hinzu.{/TEXT}\r\n"
                                           "\r\n"));
    }

    void f8FollowsEdit4AsItIsNow() {
        Harness h;
        h.control<QCheckBox>("CheckBox10")->click();
        h.journal.clip.text = "a";
        h.press(8);
        h.control<QLineEdit>("Edit4")->setText("QUELLE2");
        h.journal.clip.text = "b";
        h.press(8);
        h.journal.clip.text = "c";
        h.press(8);
        QCOMPARE(h.document(),
                 std::string("{8}a{/8}\r\n\r\n{QUELLE2}b\r\n\r\nc{/QUELLE2}\r\n\r\n"));
        QCOMPARE(h.notification(), QString("Individuellen Tag kopiert.."));
    }

    void f9UsesEdit5() {
        Harness h;
        h.control<QCheckBox>("CheckBox11")->click();
        h.control<QLineEdit>("Edit5")->setText("Stra\u00DFe");
        h.press(9);
        QCOMPARE(h.document(), std::string("{Stra\xDF"
                                           "e}X{/Stra\xDF"
                                           "e}\r\n\r\n"));
    }

    void emptyClipboardInsertsNothingAndNotifiesEmpty() {
        Harness h;
        h.form2.showNotification("old");
        h.journal.clip = {ClipboardText::Status::NoText, {}};
        h.press(4);
        QCOMPARE(h.document(), std::string());
        QCOMPARE(h.notification(), QString());
        QVERIFY(h.form2.isVisible());
    }

    void uncheckedBoxSendsNoKeystroke() {
        Harness h;
        h.control<QCheckBox>("CheckBox5")->click();
        h.journal.take();
        h.form2.showNotification("old");
        h.press(4);
        QCOMPARE(h.document(), std::string());
        QCOMPARE(h.journal.take(), QStringList());
        QCOMPARE(h.notification(), QString());
    }

    // The window answers the capture's question from the backend's focus and its own boxes:
    // a box with the focus refuses, a box behind the program in front does not.
    void captureNeverCopiesFromTheProgramItself() {
        Harness h;
        h.journal.ownWindowInFront = true;
        h.press(4);
        QCOMPARE(h.notification(), QString("Quillet im Vordergrund.."));
        QMessageBox box(QMessageBox::Warning, "Warnung", "offen");
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        h.press(4);
        QCOMPARE(h.notification(), QString("Erst Meldung schließen.."));
        QCOMPARE(h.document(), std::string());
        QCOMPARE(h.journal.take(), QStringList());

        h.journal.ownWindowInFront = false;
        h.press(4);
        QCOMPARE(h.notification(), QString("Text kopiert.."));
        QCOMPARE(h.document(), std::string("{TEXT}X{/TEXT}\r\n\r\n"));
    }

    void untaggedKeyAppendsLinePairs() {
        Harness h;
        h.control<QCheckBox>("CheckBox12")->click();
        h.journal.clip.text = "erste";
        h.press(11);
        h.journal.clip.text = "zweite";
        h.press(11);
        QCOMPARE(h.document(), std::string("erste\r\n\r\nzweite\r\n\r\n"));
        QCOMPARE(h.notification(), QString("Reinen Text angefügt.."));
    }

    void caseOptionComesFromTheRadioButtons_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("document");
        QTest::newRow("normal") << "RadioButton1"
                                << "{TITEL}Groß und klein{/TITEL}\n\n";
        QTest::newRow("upper") << "RadioButton2"
                               << "{TITEL}GROß UND KLEIN{/TITEL}\n\n";
        QTest::newRow("lower") << "RadioButton3"
                               << "{TITEL}groß und klein{/TITEL}\n\n";
    }

    void caseOptionComesFromTheRadioButtons() {
        QFETCH(QString, radio);
        QFETCH(QString, document);
        Harness h;
        h.control<QRadioButton>(qPrintable(radio))->click();
        h.journal.clip.text = "Gro\xDF und klein";
        h.press(2);
        QCOMPARE(h.memo()->toPlainText(), document);
    }

    void ctrlYMinimizesThenRestoresWithoutNotification() {
        Harness h;
        h.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
        h.press(15);
        QTRY_VERIFY(h.form->windowState() & Qt::WindowMinimized);
        h.press(15);
        QTRY_VERIFY(!(h.form->windowState() & Qt::WindowMinimized));
        QVERIFY(h.form->isVisible());
        QVERIFY(!h.form2.isVisible());
        QCOMPARE(h.journal.take(), QStringList());
    }

    void ctrlYWithCheckBox16OffLeavesTheWindow() {
        Harness h;
        h.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
        h.control<QCheckBox>("CheckBox16")->click();
        h.press(15);
        QTest::qWait(20);
        QVERIFY(!(h.form->windowState() & Qt::WindowMinimized));
    }

    void captureWhileMinimizedStillLandsInMemo1() {
        Harness h;
        h.form->show();
        h.press(15);
        h.press(4);
        QCOMPARE(h.document(), std::string("{TEXT}X{/TEXT}\r\n\r\n"));
        QCOMPARE(h.notification(), QString("Text kopiert.."));
    }

    void f10HandsOverToTheSaveRoutine() {
        Harness h;
        Saver saver;
        h.form->setHotKeySaver(&saver);
        h.press(10);
        QCOMPARE(saver.calls, 1);
        QCOMPARE(h.notification(), QString("Datei gespeichert.."));
    }

    void clipboardThatCannotBeOpenedShowsTheErrorBox() {
        QApplication::setApplicationName("Quillet d1401 (2009)");
        Harness h;
        MessageBoxHook hook;
        h.journal.clip = {ClipboardText::Status::CannotOpen, {}};
        h.press(4);
        QCOMPARE(hook.shown().size(), std::size_t(1));
        QCOMPARE(hook.shown()[0].caption, QString("Quillet d1401 (2009)"));
        QCOMPARE(hook.shown()[0].text, QString("Zwischenablage kann nicht geöffnet werden."));
        QVERIFY(!h.form2.isVisible());
        QCOMPARE(h.document(), std::string());
    }

    // A capture leaves the keyboard focus where it was. (The offscreen platform activates
    // every window it shows, the notification window too, which a real one does not.)
    void captureDoesNotActivateTheMainWindow() {
        test::FakeWindow w;
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        w.press(4);
        w.press(15);
        w.press(2);
        QTest::qWait(20);
        const QWidget* active = QApplication::activeWindow();
        QVERIFY(active == &other || active == &w.form->notificationWindow());
    }
};

} // namespace

QTEST_MAIN(MainWindowDispatchTest)
#include "main_window_dispatch_test.moc"
