#pragma once

#include <QListWidget>
#include <QString>
#include <QStringList>

namespace quillet {

// The bare names of the files of `folder` that match `mask` (any letter case): files
// only, no sub-folders, hidden or system files, sorted by name without regard to case.
QStringList listMatchingFiles(const QString& folder, const QString& mask);

// A list that holds a folder and a mask and shows the matching files' names.
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    QString directory() const { return directory_; }
    QString mask() const { return mask_; }

    // Points the list at a folder and lists it again.
    void setDirectory(const QString& folder);
    void setMask(const QString& mask);
    void refresh();

private:
    QString directory_;
    QString mask_ = QStringLiteral("*.txt");
};

} // namespace quillet
