#include "app/folder_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>

using namespace quillet;

namespace {

// Runs `act` on the folder dialog once it is up and waiting for the user.
void whenDialogShows(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(*dialog);
        // A failed check returns early; the dialog must not wait for a user then.
        if (dialog->isVisible())
            dialog->reject();
    });
}

QPushButton* buttonNamed(QDialog& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

class FolderDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void confirmedFolder_data() {
        QTest::addColumn<bool>("root");
        QTest::newRow("folder") << false;
        QTest::newRow("root of the file system") << true;
    }

    // Modal for the program, the prompt above the tree, nothing chosen at first; the path
    // comes back in the system's notation, a root with its separator, a folder without.
    void confirmedFolder() {
        QFETCH(bool, root);
        QTemporaryDir dir;
        const QString wanted = root ? QDir::rootPath() : dir.path();
        QWidget owner;
        FolderDialog chooser(owner);
        bool checked = false;
        whenDialogShows([&](QDialog& dialog) {
            QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
            QCOMPARE(dialog.findChild<QLabel*>("Prompt")->text(), QString("Ordner auswählen:"));
            QPushButton* ok = buttonNamed(dialog, "OK");
            QVERIFY(ok && !ok->isEnabled());
            QVERIFY(buttonNamed(dialog, "Abbrechen"));
            auto* tree = dialog.findChild<QTreeView*>("FolderTree");
            auto* model = qobject_cast<QFileSystemModel*>(tree->model());
            QVERIFY(model->filter() & QDir::AllDirs);
            QVERIFY(!(model->filter() & QDir::Files));
            tree->setCurrentIndex(model->index(wanted));
            QVERIFY(ok->isEnabled());
            checked = true;
            ok->click();
        });
        const QString chosen = chooser.selectFolder();
        QVERIFY(checked);
        QCOMPARE(chosen, QDir::toNativeSeparators(wanted));
    }

    void cancelGivesTheEmptyText() {
        QTemporaryDir dir;
        QWidget owner;
        FolderDialog chooser(owner);
        whenDialogShows([&](QDialog& dialog) {
            auto* tree = dialog.findChild<QTreeView*>("FolderTree");
            tree->setCurrentIndex(
                qobject_cast<QFileSystemModel*>(tree->model())->index(dir.path()));
            buttonNamed(dialog, "Abbrechen")->click();
        });
        QCOMPARE(chooser.selectFolder(), QString());
        whenDialogShows([](QDialog& dialog) { dialog.reject(); }); // closed, Escape
        QCOMPARE(chooser.selectFolder(), QString());
    }
};

} // namespace

QTEST_MAIN(FolderDialogTest)
#include "folder_dialog_test.moc"
