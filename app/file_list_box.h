#pragma once

#include "batch/file_list.h"

#include <QListWidget>
#include <QString>

namespace quillet {

// A file list: a folder and the "*.txt" files in it as the core lists them. The entries
// are a snapshot that changes only when the list is read again. A name whose bytes are
// not UTF-8 is shown readably and still opened by its own bytes.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    // Starts on the process's current folder.
    explicit FileListBox(QWidget* parent = nullptr);

    // The folder as it is shown.
    QString directory() const;
    QString mask() const { return QStringLiteral("*.txt"); }
    const TextFileList& files() const { return files_; }

    // Makes `folder` the list's folder (an empty text keeps the one it has) and reads the
    // list again in either case, which clears the selection.
    void setDirectory(const QString& folder);
    void refresh();

    // The folder and the selected entry's name, by which the file is opened; empty when
    // nothing is selected.
    NativePath selectedPath() const;

private:
    TextFileList files_;
};

} // namespace quillet
