#include "app/file_list_box.h"
#include "platform/qt_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace quillet;

namespace {

void touch(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

QStringList shownNames(const FileListBox& list) {
    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
        shown << list.item(i)->text();
    return shown;
}

class FileListBoxTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The rows are the core's listing, in its order.
    void showsTheCoreListing() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char* name : {"b.txt", "A.TXT", "c.Txt", "notes.md", ".hidden.txt", "a.txt.bak"})
            touch(dir.filePath(name));
        QVERIFY(QDir(dir.path()).mkdir("folder.txt"));

        FileListBox list;
        list.setDirectory(dir.path());
        QCOMPARE(shownNames(list), (QStringList{"A.TXT", "b.txt", "c.Txt"}));
        QStringList core;
        for (const std::string& name : listTextFiles(nativePath(dir.path())))
            core << shownPath(name);
        QCOMPARE(shownNames(list), core);
        QCOMPARE(list.files().count(), 3);
    }

    // A name from an old archive is shown readably and still selected by its own bytes.
    void showsANameThatIsNotUtf8() {
        QTemporaryDir dir;
        const std::string latin1 = nativePath(dir.path()) + "/M\xFCller.txt";
        std::FILE* file = std::fopen(latin1.c_str(), "w");
        QVERIFY(file != nullptr);
        std::fclose(file);
        FileListBox list;
        list.setDirectory(dir.path());
        QCOMPARE(shownNames(list), QStringList{QString::fromUtf8("M\u00FCller.txt")});
        list.setCurrentRow(0);
        QCOMPARE(list.selectedPath(), latin1);
    }

    // A snapshot: new files show only after a re-read, which also drops the selection.
    // An empty folder text keeps the folder, as a cancelled folder choice does.
    void rereadAndEmptyFolderText() {
        QTemporaryDir dir;
        touch(dir.filePath("a.txt"));
        FileListBox list;
        list.setDirectory(dir.path());
        list.setCurrentRow(0);
        QCOMPARE(list.selectedPath(), nativePath(QDir(dir.path()).filePath("a.txt")));

        touch(dir.filePath("b.txt"));
        QCOMPARE(list.count(), 1);
        list.setDirectory(QString());
        QCOMPARE(list.directory(), dir.path());
        QCOMPARE(shownNames(list), (QStringList{"a.txt", "b.txt"}));
        QCOMPARE(list.selectedPath(), NativePath());

        list.setDirectory("/no/such/folder/here");
        QCOMPARE(list.count(), 0);
        QCOMPARE(list.files().count(), 0);
    }

    void startsOnTheCurrentFolder() {
        QTemporaryDir dir;
        touch(dir.filePath("x.txt"));
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        FileListBox list;
        QDir::setCurrent(before);
        QCOMPARE(list.directory(), QDir(dir.path()).canonicalPath());
        QCOMPARE(list.count(), 1);
    }
};

} // namespace

QTEST_MAIN(FileListBoxTest)
#include "file_list_box_test.moc"
