#include "app/file_list_box.h"
#include "app/message_boxes.h"
#include "support/window_fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace quillet;

namespace {

const QString appTitle = QStringLiteral("Quillet d1401 (2009)");
const QString stripDone =
    QStringLiteral("Alle Dateien wurden erfolgreich bearbeitet und gespeichert!");
const QString overwriteQuestion = QStringLiteral(
    "Achtung! Alle Dateien werden überschrieben! Möchten Sie daher die bereinigten Texte "
    "lieber in einem neuen Unterverzeichnis erstellen lassen?");

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

struct Harness : test::FakeWindow {
    MessageBoxHook boxes;
    QTemporaryDir dir;

    Harness() { QApplication::setApplicationName(appTitle); }
    template <typename T> T* control(const QString& name) const {
        T* found = form->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    void choose(const char* button, const QString& folder) {
        folders.answers = {folder};
        control<QToolButton>(button)->click();
    }
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QStringList shownTexts() const {
        QStringList texts;
        for (const ShownBox& box : boxes.shown())
            texts << box.caption + ": " + box.text;
        return texts;
    }
};

// Counts the paintings of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

const QByteArray tagged = "{TEXT}body{/TEXT}\r\n\r\n{TITEL}t{/TITEL}\r\n\r\n";
// Without a "{" a file is not sorted, only its line breaks are normalized.
const QByteArray plainLf = "ohne Klammern\nzweite\r";

class MainWindowBatchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stripFolder_data() {
        QTest::addColumn<bool>("subfolder");
        QTest::addColumn<bool>("sort");
        QTest::addColumn<int>("answer"); // to the overwrite question, -1 when none is put
        QTest::addColumn<bool>("writesSubfolder");
        QTest::addColumn<QByteArray>("strippedTagged");
        const QByteArray bodyFirst = "body\r\n\r\nt\r\n\r\n";
        const QByteArray sorted = "\r\n\r\nt\r\n\r\nbody\r\n\r\n";
        QTest::newRow("subfolder") << true << false << -1 << true << bodyFirst;
        QTest::newRow("subfolder sorted") << true << true << -1 << true << sorted;
        QTest::newRow("overwrite, answer Nein")
            << false << false << int(BoxButton::No) << false << bodyFirst;
        QTest::newRow("overwrite, answer Ja")
            << false << false << int(BoxButton::Yes) << true << bodyFirst;
        QTest::newRow("overwrite sorted") << false << true << int(BoxButton::No) << false << sorted;
    }

    // Every listed file in order through Memo5 into the untagged subfolder or over itself;
    // the "&Ja" answer switches to the subfolder and leaves CheckBox17 checked.
    void stripFolder() {
        QFETCH(bool, subfolder);
        QFETCH(bool, sort);
        QFETCH(int, answer);
        QFETCH(bool, writesSubfolder);
        QFETCH(QByteArray, strippedTagged);
        Harness h;
        write(h.path("a.txt"), tagged);
        write(h.path("B.TXT"), plainLf);
        h.choose("SpeedButton2", h.dir.path());
        h.control<QCheckBox>("CheckBox17")->setChecked(subfolder);
        h.control<QCheckBox>("CheckBox19")->setChecked(sort);
        if (answer >= 0)
            h.boxes.answer(BoxButton(answer));
        h.control<FileListBox>("FileListBox1")->setCurrentRow(0);
        h.form->show();
        h.form->pages().setCurrentIndex(1);
        QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
        auto* bar = h.control<QProgressBar>("ProgressBar2");
        PaintCounter paints(*bar);

        h.control<QPushButton>("Button3")->click();

        QStringList expectedBoxes;
        if (answer >= 0) {
            const ShownBox& question = h.boxes.shown().front();
            QCOMPARE(question.buttons, (QStringList{"&Ja", "&Nein"}));
            QCOMPARE(question.defaultButton, QString("&Ja"));
            QCOMPARE(question.escapeButton, QString("&Nein"));
            QCOMPARE(question.icon, QMessageBox::Warning);
            expectedBoxes << "Warnung: " + overwriteQuestion;
        }
        expectedBoxes << "Information: " + stripDone;
        QCOMPARE(h.shownTexts(), expectedBoxes);
        QCOMPARE(h.control<QCheckBox>("CheckBox17")->isChecked(), writesSubfolder);

        const QByteArray strippedPlain = "ohne Klammern\r\nzweite\r\n";
        const QString untagged = h.path("untagged_07.12.2026_2");
        if (writesSubfolder) {
            QCOMPARE(read(untagged + "/a.txt"), strippedTagged);
            QCOMPARE(read(untagged + "/B.TXT"), strippedPlain);
            QCOMPARE(read(h.path("a.txt")), tagged);
            QCOMPARE(read(h.path("B.TXT")), plainLf);
        } else {
            QVERIFY(!QFileInfo::exists(untagged));
            QCOMPARE(read(h.path("a.txt")), strippedTagged);
            QCOMPARE(read(h.path("B.TXT")), strippedPlain);
        }
        QCOMPARE(h.control<QPlainTextEdit>("Memo5")->toPlainText(), QString());
        QCOMPARE(bar->maximum(), 2);
        QCOMPARE(bar->value(), 2);
        // The bar paints while the batch still holds the event loop.
        QVERIFY(paints.paints >= 1);
        // The list is not read again: the new subfolder's files never show in it.
        QCOMPARE(h.control<FileListBox>("FileListBox1")->count(), 2);
    }

    void stripWithNothingListedOnlyComplains() {
        Harness h;
        h.choose("SpeedButton2", h.dir.path());
        h.control<QCheckBox>("CheckBox17")->setChecked(false);
        h.control<QPushButton>("Button3")->click();
        QCOMPARE(h.shownTexts(),
                 QStringList{"Fehler: Keine Textdateien im Verzeichnis! Wenn doch, dann bitte "
                             "erneut das Verzeichnis laden!"});
        QVERIFY(QDir(h.dir.path()).isEmpty());
    }

    // A file gone since the list was read stops the run there: files before it are
    // written, no success is claimed.
    void stripStopsAtAVanishedFile() {
        Harness h;
        write(h.path("a.txt"), tagged);
        write(h.path("b.txt"), tagged);
        write(h.path("c.txt"), tagged);
        h.choose("SpeedButton2", h.dir.path());
        QVERIFY(QFile::remove(h.path("b.txt")));
        h.control<QPushButton>("Button3")->click();
        QCOMPARE(h.shownTexts(), QStringList{appTitle + ": Datei " + h.path("b.txt") +
                                             " kann nicht geöffnet werden."});
        const QString untagged = h.path("untagged_07.12.2026_3");
        QCOMPARE(QDir(untagged).entryList(QDir::Files), QStringList{"a.txt"});
        QCOMPARE(h.control<QProgressBar>("ProgressBar2")->value(), 1);
    }

    // The export of two files into the next free XML<n>, byte for byte, with the schema
    // beside it; xmllint checks the one against the other.
    void exportToXml() {
        Harness h;
        QTemporaryDir target;
        QVERIFY(QDir(target.path()).mkdir("XML0"));
        write(h.path("a.txt"),
              "{TEXT}\x80 M\xFCller & S\xF6hne <GmbH>\r\n{/TEXT}{TITEL}Titel{/TITEL}");
        write(h.path("b.txt"), "keine Tags");
        h.choose("SpeedButton3", h.dir.path());
        h.choose("SpeedButton4", target.path());

        h.control<QPushButton>("Button5")->click();

        const QString folder = QDir(target.path()).filePath("XML1");
        QCOMPARE(h.shownTexts(),
                 QStringList{"Information: Die XML-Daten wurden im folgenden Verzeichnis "
                             "gespeichert: \n" +
                             folder + "/"});
        const QByteArray expected =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            "<dataroot xmlns:od=\"urn:schemas-microsoft-com:officedata\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"  "
            "xsi:noNamespaceSchemaLocation=\"XML.xsd\">\r\n"
            "<Daten>\r\n<ID>0</ID>\r\n<MainTitel>Titel</MainTitel>\r\n"
            "<MainText>\xE2\x82\xAC M\xC3\xBCller &amp; S\xC3\xB6hne &lt;GmbH&gt;\r\n"
            "</MainText>\r\n</Daten>\r\n"
            "<Daten>\r\n<ID>1</ID>\r\n</Daten>\r\n</dataroot>\r\n";
        QCOMPARE(read(folder + "/XML.xml"), expected);
        const QString schema = QCoreApplication::applicationDirPath() + "/XML_Vorlage/XML.xsd";
        QVERIFY(QFileInfo(schema).size() > 0);
        QCOMPARE(read(folder + "/XML.xsd"), read(schema));
        QCOMPARE(h.control<QProgressBar>("ProgressBar1")->value(), 2);

        QProcess lint;
        lint.start("xmllint", {"--noout", "--schema", folder + "/XML.xsd", folder + "/XML.xml"});
        QVERIFY2(lint.waitForFinished(30000), "xmllint did not run");
        QVERIFY2(lint.exitStatus() == QProcess::NormalExit && lint.exitCode() == 0,
                 lint.readAllStandardError().constData());
    }

    // The format choice: XML preselected, each choice exporting into a folder of its own.
    void exportFormatChoice_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("preselected") << -1 << "XML0" << QStringList{"XML.xml", "XML.xsd"};
        QTest::newRow("CSV") << 1 << "CSV0" << QStringList{"Daten.csv"};
        QTest::newRow("JSON Lines") << 2 << "JSONL0" << QStringList{"Daten.jsonl"};
        QTest::newRow("SQLite") << 3 << "SQLite0" << QStringList{"Daten.sqlite"};
    }

    void exportFormatChoice() {
        QFETCH(int, choice);
        QFETCH(QString, folder);
        QFETCH(QStringList, files);
        Harness h;
        QTemporaryDir target;
        write(h.path("a.txt"), "{TITEL}t{/TITEL}");
        h.choose("SpeedButton3", h.dir.path());
        h.choose("SpeedButton4", target.path());
        auto* formats = h.control<QComboBox>("ComboBox1");
        QCOMPARE(formats->currentText(), QStringLiteral("XML"));
        QCOMPARE(formats->count(), 4);
        if (choice >= 0)
            formats->setCurrentIndex(choice);
        h.control<QPushButton>("Button5")->click();
        QCOMPARE(QDir(target.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{folder});
        QCOMPARE(QDir(target.path() + "/" + folder).entryList(QDir::Files | QDir::Hidden), files);
        QCOMPARE(h.shownTexts().size(), 1);
        QVERIFY(
            h.shownTexts().front().startsWith("Information: Die " + folder.chopped(1) + "-Daten"));
    }

    void exportRefusals_data() {
        QTest::addColumn<bool>("chooseSource");
        QTest::addColumn<bool>("chooseTarget");
        QTest::addColumn<QString>("message");
        QTest::newRow("start values") << false << false << "Quellverzeichnis existiert nicht!";
        QTest::newRow("no target") << true << false << "Zielverzeichnis existiert nicht!";
        QTest::newRow("no source") << false << true << "Quellverzeichnis existiert nicht!";
    }

    void exportRefusals() {
        QFETCH(bool, chooseSource);
        QFETCH(bool, chooseTarget);
        QFETCH(QString, message);
        Harness h;
        QTemporaryDir target;
        write(h.path("a.txt"), "x");
        if (chooseSource)
            h.choose("SpeedButton3", h.dir.path());
        if (chooseTarget)
            h.choose("SpeedButton4", target.path());
        h.control<QPushButton>("Button5")->click();
        QCOMPARE(h.shownTexts(), QStringList{"Fehler: " + message});
        QVERIFY(QDir(target.path()).isEmpty());
    }

    // A listed file gone before the export reads it: the general error box, no XML.xml.
    void exportStopsAtAVanishedFile() {
        Harness h;
        QTemporaryDir target;
        write(h.path("a.txt"), "{TITEL}a{/TITEL}");
        write(h.path("b.txt"), "{TITEL}b{/TITEL}");
        h.choose("SpeedButton3", h.dir.path());
        h.choose("SpeedButton4", target.path());
        QVERIFY(QFile::remove(h.path("b.txt")));
        h.control<QPushButton>("Button5")->click();
        QCOMPARE(h.shownTexts(), QStringList{appTitle + ": Datei " + h.path("b.txt") +
                                             " kann nicht geöffnet werden."});
        // The export folder it had claimed goes again.
        QVERIFY(
            QDir(target.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        QCOMPARE(h.control<QProgressBar>("ProgressBar1")->value(), 1);
    }

    // At start the list shows the folder its field names, "PATH" in the folder the program
    // runs in: nothing when there is none, and nothing of that folder's own files.
    void startListsTheFolderPath() {
        QTemporaryDir started;
        QTemporaryDir target;
        write(QDir(started.path()).filePath("a.txt"), "{TITEL}a{/TITEL}");
        const QString before = QDir::currentPath();
        QDir::setCurrent(started.path());
        {
            Harness h;
            QCOMPARE(h.control<QLineEdit>("Edit8")->text(), QString("PATH"));
            QCOMPARE(h.control<FileListBox>("FileListBox2")->count(), 0);
            h.choose("SpeedButton4", target.path());
            h.control<QPushButton>("Button5")->click();
            QCOMPARE(h.shownTexts(), QStringList{"Fehler: Quellverzeichnis existiert nicht!"});
        }
        QVERIFY(QDir(started.path()).mkdir("PATH"));
        write(QDir(started.path()).filePath("PATH/b.txt"), "{TITEL}b{/TITEL}");
        {
            Harness h;
            QCOMPARE(h.control<FileListBox>("FileListBox2")->item(0)->text(), QString("b.txt"));
            QCOMPARE(h.control<FileListBox>("FileListBox2")->count(), 1);
        }
        QDir::setCurrent(before);
        QVERIFY(QDir(target.path()).isEmpty());
    }
};

} // namespace

QTEST_MAIN(MainWindowBatchTest)
#include "main_window_batch_test.moc"
