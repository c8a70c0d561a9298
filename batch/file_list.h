#pragma once

#include <QString>

#include <vector>

namespace quillet {

// The "*.txt" files of a folder as a file list shows them: regular files only (a link
// counts when it leads to a regular file; a link to a folder and a dangling link do not),
// the extension in any letter case, no sub-folders, no hidden files, nothing else of the
// file system; sorted by name without regard to case, names differing only in case in a
// fixed order. Empty when the folder cannot be read.
std::vector<QString> listTextFiles(const QString& folder);

// folder + separator + name, the separator left out when the folder text ends with one.
QString pathInFolder(const QString& folder, const QString& name);

// A file list: a folder and a snapshot of its text files, which changes only when the
// list is re-read.
class TextFileList {
public:
    // An empty text is ignored; any other makes it the folder and re-reads the list.
    void assign(const QString& folder);
    void reread();

    const QString& folder() const { return folder_; }
    const std::vector<QString>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }

    // The path of entry `index`; the empty text for an index outside the list, as when
    // nothing is selected.
    QString selectedPath(int index) const;

private:
    QString folder_;
    std::vector<QString> entries_;
};

} // namespace quillet
