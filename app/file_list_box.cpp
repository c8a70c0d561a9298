#include "app/file_list_box.h"

#include "platform/qt_text.h"

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
        files_.assign(nativePath(folder));
    clear();
    QStringList names;
    names.reserve(files_.count());
    for (int i = 0; i < files_.count(); ++i)
        names << QString::fromStdString(files_.shownName(i));
    addItems(names);
}

QString FileListBox::directory() const {
    return shownPath(files_.folder());
}

void FileListBox::refresh() {
    setDirectory(QString());
}

NativePath FileListBox::selectedPath() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? NativePath() : files_.selectedPath(selected.first().row());
}

} // namespace quillet
