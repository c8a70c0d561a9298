#include "app/message_boxes.h"
#include "app/notification_window.h"
#include "document/clean_text.h"
#include "platform/qt_text.h"
#include "support/window_fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace quillet;

namespace {

const QString appTitle = QStringLiteral("Quillet d1401 (2009)");
// Lines that cleaning joins, so that the two modes write different bytes.
const std::string documentText = "{TITEL}Titel{/TITEL}\r\n\r\n{TEXT}Eine Zeile, die\r\n"
                                 "weitergeht, mit Tren-\r\nnung und \x80.{/TEXT}\r\n\r\n";

struct Harness : test::FakeWindow {
    NotificationWindow& form2 = form->notificationWindow();
    QTemporaryDir dir;
    MessageBoxHook boxes;

    Harness() {
        QApplication::setApplicationName(appTitle);
        control<QLineEdit>("Edit1")->setText(QDir::toNativeSeparators(dir.path()));
        control<QLineEdit>("Edit2")->setText("MEDIENNAME_QUELLE");
    }
    template <typename T> T* control(const char* name) const { return form->findChild<T*>(name); }
    std::string document() const {
        return toDocumentText(control<QPlainTextEdit>("Memo1")->toPlainText());
    }
    void setDocument(const std::string& text) const {
        control<QPlainTextEdit>("Memo1")->setPlainText(toDisplayText(text));
    }
    void save(bool hotKey) {
        if (hotKey)
            press(10);
        else
            control<QPushButton>("Button1")->click();
    }
    QStringList files() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }
    QString notification() const {
        return form2.isVisible() ? form2.label()->text() : QString("(none)");
    }
    QByteArray read(const QString& name) const {
        QFile f(QDir(dir.path()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
};

class MainWindowSaveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void savesUnderTheNextName_data() {
        QTest::addColumn<bool>("hotKey");
        QTest::addColumn<bool>("addDate");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expectedName");
        QTest::addColumn<QString>("expectedNotification");
        for (bool hotKey : {false, true}) {
            const char* mode = hotKey ? "F10" : "button";
            const QString done = hotKey ? "Datei gespeichert.." : "(none)";
            QTest::addRow("%s date first", mode)
                << hotKey << true << QStringList{} << "MEDIENNAME_QUELLE07.12.2026_0.txt" << done;
            QTest::addRow("%s no date fills gap", mode)
                << hotKey << false
                << QStringList{"MEDIENNAME_QUELLE_0.txt", "MEDIENNAME_QUELLE_2.txt"}
                << "MEDIENNAME_QUELLE_1.txt" << done;
        }
    }

    // The button writes the text as it stands; F10 cleans it first (CheckBox20). Both
    // empty the view afterwards.
    void savesUnderTheNextName() {
        QFETCH(bool, hotKey);
        QFETCH(bool, addDate);
        QFETCH(QStringList, existing);
        QFETCH(QString, expectedName);
        QFETCH(QString, expectedNotification);
        Harness h;
        for (const QString& name : existing) {
            QFile f(QDir(h.dir.path()).filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        h.control<QCheckBox>("CheckBox1")->setChecked(addDate);
        h.setDocument(documentText);

        h.save(hotKey);

        QVERIFY(h.boxes.shown().empty());
        const std::string written = hotKey ? cleanText(documentText) : documentText;
        QVERIFY(written != documentText || !hotKey);
        QCOMPARE(h.read(expectedName), QByteArray::fromStdString(written));
        QCOMPARE(h.files().size(), existing.size() + 1);
        QCOMPARE(h.document(), std::string());
        QCOMPARE(h.notification(), expectedNotification);
    }

    void f10WithoutCleaningWritesTheTextAsItStands() {
        Harness h;
        h.control<QCheckBox>("CheckBox20")->setChecked(false);
        h.control<QCheckBox>("CheckBox1")->setChecked(false);
        h.setDocument(documentText);
        h.save(true);
        QCOMPARE(h.read("MEDIENNAME_QUELLE_0.txt"), QByteArray::fromStdString(documentText));
    }

    void emptyViewWritesNothing_data() {
        QTest::addColumn<bool>("hotKey");
        QTest::newRow("button") << false;
        QTest::newRow("F10") << true;
    }

    void emptyViewWritesNothing() {
        QFETCH(bool, hotKey);
        Harness h;
        h.save(hotKey);
        QCOMPARE(h.notification(), QString("Kein Text zum Speichern.."));
        QVERIFY(h.files().isEmpty());
        QVERIFY(h.boxes.shown().empty());
    }

    void missingFolder_data() {
        QTest::addColumn<bool>("hotKey");
        QTest::addColumn<QString>("folder");
        QTest::newRow("button, start value") << false << "PATH";
        QTest::newRow("button, cancelled choice") << false << "";
        QTest::newRow("F10, start value") << true << "PATH";
        QTest::newRow("F10, cancelled choice") << true << "";
    }

    // F10 may come while the window is minimized: it comes back, says why and opens the
    // page where the folder is set. The button leaves window and page alone.
    void missingFolder() {
        QFETCH(bool, hotKey);
        QFETCH(QString, folder);
        Harness h;
        h.folders.answers = {folder};
        h.control<QToolButton>("SpeedButton1")->click();
        QCOMPARE(h.control<QLineEdit>("Edit1")->text(), folder);
        h.form->show();
        h.form->showMinimized();
        h.form->pages().setCurrentIndex(0);
        h.setDocument(documentText);

        h.save(hotKey);

        QCOMPARE(h.boxes.shown().size(), std::size_t(1));
        const ShownBox& box = h.boxes.shown()[0];
        QCOMPARE(box.caption, QString("Fehler"));
        QCOMPARE(box.text, QString("Speicherpfad existiert nicht!"));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttons, QStringList{"OK"});
        QCOMPARE(h.document(), documentText);
        QCOMPARE(bool(h.form->windowState() & Qt::WindowMinimized), !hotKey);
        QCOMPARE(h.form->pages().currentWidget()->objectName(),
                 QString(hotKey ? "TabSheet2" : "TabSheet1"));
        QCOMPARE(h.notification(), QString(hotKey ? "" : "(none)"));
        QVERIFY(h.files().isEmpty());
    }

    void cannotCreate_data() {
        QTest::addColumn<bool>("hotKey");
        QTest::newRow("button") << false;
        QTest::newRow("F10") << true;
    }

    // A folder where the file should go: the general error box, and the text stays
    // (cleaned, after F10) for another try.
    void cannotCreate() {
        QFETCH(bool, hotKey);
        Harness h;
        QVERIFY(QDir(h.dir.path()).mkdir("Name_0.txt"));
        h.control<QLineEdit>("Edit2")->setText("Name");
        h.control<QCheckBox>("CheckBox1")->setChecked(false);
        h.setDocument(documentText);

        h.save(hotKey);

        const QString path =
            QDir::toNativeSeparators(h.dir.path()) + QDir::separator() + "Name_0.txt";
        QCOMPARE(h.boxes.shown().size(), std::size_t(1));
        QCOMPARE(h.boxes.shown()[0].caption, appTitle);
        QCOMPARE(h.boxes.shown()[0].text, "Datei " + path + " kann nicht erstellt werden.");
        QCOMPARE(h.document(), hotKey ? cleanText(documentText) : documentText);
        QCOMPARE(h.notification(), QString("(none)"));
        QCOMPARE(h.files(), QStringList{"Name_0.txt"});
    }
};

} // namespace

QTEST_MAIN(MainWindowSaveTest)
#include "main_window_save_test.moc"
