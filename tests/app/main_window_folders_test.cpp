#include "app/file_list_box.h"
#include "app/message_boxes.h"
#include "support/window_fakes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace quillet;

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QStringList shownNames(const FileListBox& list) {
    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
        shown << list.item(i)->text();
    return shown;
}

struct Harness : test::FakeWindow {
    MessageBoxHook boxes;
    template <typename T> T* control(const QString& name) const {
        T* found = form->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
};

// The two pages with a folder, a list and a preview.
void listPages() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("preview");
    QTest::newRow("Delete Tags") << "SpeedButton2"
                                 << "Edit7"
                                 << "FileListBox1"
                                 << "Memo5";
    QTest::newRow("TEXTtoXML") << "SpeedButton3"
                               << "Edit8"
                               << "FileListBox2"
                               << "Memo6";
}

class MainWindowFoldersTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setApplicationName("Quillet d1401 (2009)"); }

    void fieldOnlyButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("edit");
        QTest::newRow("save folder") << "SpeedButton1"
                                     << "Edit1";
        QTest::newRow("XML target") << "SpeedButton4"
                                    << "Edit9";
    }

    // The field takes the answer as it comes, the empty text of a cancel included.
    void fieldOnlyButtons() {
        QFETCH(QString, button);
        QFETCH(QString, edit);
        Harness h;
        QTemporaryDir dir;
        h.folders.answers = {dir.path(), QString()};
        h.control<QToolButton>(button)->click();
        QCOMPARE(h.control<QLineEdit>(edit)->text(), dir.path());
        h.control<QToolButton>(button)->click();
        QCOMPARE(h.control<QLineEdit>(edit)->text(), QString());
        QCOMPARE(h.folders.asked, 2);
    }

    void choosingAFolderListsIt_data() { listPages(); }

    // A chosen folder fills field and list; the preview shows the raw file, line breaks
    // normalized, until another file is picked. A cancel empties the field but keeps the
    // list's folder, which is read again and loses its selection.
    void choosingAFolderListsIt() {
        QFETCH(QString, button);
        QFETCH(QString, edit);
        QFETCH(QString, list);
        QFETCH(QString, preview);
        Harness h;
        QTemporaryDir dir;
        write(dir.filePath("b.txt"), "{TITEL}t{/TITEL}\nzwei\rdrei\r\n\x80");
        write(dir.filePath("A.TXT"), "a");
        write(dir.filePath("c.md"), "c");
        QVERIFY(QDir(dir.path()).mkdir("ordner.txt"));
        auto* box = h.control<FileListBox>(list);
        auto* memo = h.control<QPlainTextEdit>(preview);

        h.folders.answers = {dir.path(), QString()};
        h.control<QToolButton>(button)->click();
        QCOMPARE(h.control<QLineEdit>(edit)->text(), dir.path());
        QCOMPARE(box->directory(), dir.path());
        QCOMPARE(shownNames(*box), (QStringList{"A.TXT", "b.txt"}));
        QCOMPARE(memo->toPlainText(), QString());

        box->setCurrentRow(1);
        QCOMPARE(memo->toPlainText(), QString("{TITEL}t{/TITEL}\nzwei\ndrei\n€"));
        QCOMPARE(memo->document()->blockCount(), 4);

        write(dir.filePath("d.txt"), "d");
        h.control<QToolButton>(button)->click();
        QCOMPARE(h.control<QLineEdit>(edit)->text(), QString());
        QCOMPARE(box->directory(), dir.path());
        QCOMPARE(shownNames(*box), (QStringList{"A.TXT", "b.txt", "d.txt"}));
        QCOMPARE(box->selectedItems().size(), 0);
        QCOMPARE(memo->toPlainText(), QString("{TITEL}t{/TITEL}\nzwei\ndrei\n€"));
        QVERIFY(h.boxes.shown().empty());
    }

    void unreadablePreviewKeepsTheOldText_data() { listPages(); }

    // A file that vanished after the list was read: the general error box, old preview.
    void unreadablePreviewKeepsTheOldText() {
        QFETCH(QString, button);
        QFETCH(QString, list);
        QFETCH(QString, preview);
        Harness h;
        QTemporaryDir dir;
        write(dir.filePath("a.txt"), "alt");
        write(dir.filePath("b.txt"), "weg");
        h.folders.answers = {dir.path()};
        h.control<QToolButton>(button)->click();
        auto* box = h.control<FileListBox>(list);
        box->setCurrentRow(0);
        QVERIFY(QFile::remove(dir.filePath("b.txt")));

        box->setCurrentRow(1);

        QCOMPARE(h.boxes.shown().size(), std::size_t(1));
        const ShownBox& shown = h.boxes.shown()[0];
        QCOMPARE(shown.caption, QString("Quillet d1401 (2009)"));
        QCOMPARE(shown.icon, QMessageBox::Critical);
        QCOMPARE(shown.text,
                 "Datei " + QDir(dir.path()).filePath("b.txt") + " kann nicht geöffnet werden.");
        QCOMPARE(h.control<QPlainTextEdit>(preview)->toPlainText(), QString("alt"));
    }

    void sourceChoiceResetsTheExportProgress() {
        Harness h;
        QTemporaryDir dir;
        auto* bar = h.control<QProgressBar>("ProgressBar1");
        bar->setMaximum(10);
        bar->setValue(7);
        h.folders.answers = {dir.path()};
        h.control<QToolButton>("SpeedButton3")->click();
        QCOMPARE(bar->value(), 0);
        bar->setValue(7);
        h.control<QToolButton>("SpeedButton3")->click(); // cancelled
        QCOMPARE(bar->value(), 0);
    }
};

} // namespace

QTEST_MAIN(MainWindowFoldersTest)
#include "main_window_folders_test.moc"
