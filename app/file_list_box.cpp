#include "app/file_list_box.h"

#include <QDir>

namespace quillet {

QStringList listMatchingFiles(const QString& folder, const QString& mask) {
    if (folder.isEmpty())
        return {};
    QDir dir(folder);
    if (!dir.exists())
        return {};
    // Without QDir::CaseSensitive the mask matches "*.TXT" as well, as on Windows.
    return dir.entryList({mask}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent), directory_(QDir::currentPath()) {
    refresh();
}

void FileListBox::setDirectory(const QString& folder) {
    directory_ = folder;
    refresh();
}

void FileListBox::setMask(const QString& mask) {
    mask_ = mask;
    refresh();
}

void FileListBox::refresh() {
    clear();
    addItems(listMatchingFiles(directory_, mask_));
}

} // namespace quillet
