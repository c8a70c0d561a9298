#include "app/file_list_box.h"

#include <QDir>

namespace quillet {

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDirectory(QDir::currentPath());
}

void FileListBox::setDirectory(const QString& folder) {
    if (folder.isEmpty())
        files_.reread();
    else
        files_.assign(folder);
    clear();
    QStringList names;
    names.reserve(files_.count());
    for (const QString& name : files_.entries())
        names << name;
    addItems(names);
}

void FileListBox::refresh() {
    setDirectory(QString());
}

QString FileListBox::selectedPath() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : files_.selectedPath(selected.first().row());
}

} // namespace quillet
