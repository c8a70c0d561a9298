#include "app/file_list_box.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillet;

namespace {

void touch(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

class FileListBoxTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Files only, "*.txt" in any letter case, no hidden files, sorted without regard to case.
    void listsMatchingFiles() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char* name : {"b.txt", "A.TXT", "c.Txt", "notes.md", ".hidden.txt", "a.txt.bak"})
            touch(dir.filePath(name));
        QVERIFY(QDir(dir.path()).mkdir("folder.txt"));

        FileListBox list;
        list.setDirectory(dir.path());
        QStringList shown;
        for (int i = 0; i < list.count(); ++i)
            shown << list.item(i)->text();
        QCOMPARE(shown, (QStringList{"A.TXT", "b.txt", "c.Txt"}));
        QCOMPARE(listMatchingFiles(dir.path(), "*.txt"), shown);
    }

    void missingOrEmptyFolderListsNothing() {
        FileListBox list;
        list.setDirectory("/no/such/folder/here");
        QCOMPARE(list.count(), 0);
        list.setDirectory(QString());
        QCOMPARE(list.count(), 0);
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
