#include "app/folder_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace quillet {

QString FolderDialog::selectFolder() {
    QDialog dialog(&owner_);
    dialog.setObjectName(QStringLiteral("FolderDialog"));
    dialog.setWindowTitle(QStringLiteral("Ordner suchen"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.resize(320, 400);

    auto* prompt = new QLabel(QStringLiteral("Ordner auswählen:"), &dialog);
    prompt->setObjectName(QStringLiteral("Prompt"));

    QFileSystemModel model;
    model.setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model.setReadOnly(true);
    // The empty root is the top of the file system: the drives, or "/".
    model.setRootPath(QString());

    auto* tree = new QTreeView(&dialog);
    tree->setObjectName(QStringLiteral("FolderTree"));
    tree->setModel(&model);
    tree->setHeaderHidden(true);
    for (int column = 1; column < model.columnCount(); ++column)
        tree->hideColumn(column);

    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    ok->setEnabled(false);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, ok,
                     [ok](const QModelIndex& current) { ok->setEnabled(current.isValid()); });

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(prompt);
    layout->addWidget(tree);
    layout->addWidget(buttons);

    if (dialog.exec() != QDialog::Accepted || !tree->currentIndex().isValid())
        return {};
    return QDir::toNativeSeparators(model.filePath(tree->currentIndex()));
}

} // namespace quillet
