#pragma once

#include "files/file_system.h"

#include <string>
#include <vector>

namespace quillet {

// The "*.txt" files of a folder as a file list shows them: regular files only (a link
// counts when it leads to a regular file; a link to a folder, to a FIFO or a device and a
// dangling link do not), the extension in any letter case, no sub-folders, no hidden
// files; each name as the bytes the file system holds, whatever their encoding. Sorted by
// the shown name without regard to case, names differing only in case in a fixed order.
// Empty when the folder cannot be read.
std::vector<std::string> listTextFiles(const NativePath& folder);

// A file list: a folder and a snapshot of its text files, which changes only when the
// list is re-read.
class TextFileList {
public:
    // An empty path is ignored; any other makes it the folder and re-reads the list.
    void assign(const NativePath& folder);
    void reread();

    const NativePath& folder() const { return folder_; }
    // The names' bytes, by which the files are opened.
    const std::vector<std::string>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }

    // The path of entry `index`; the empty path for an index outside the list, as when
    // nothing is selected.
    NativePath selectedPath(int index) const;
    // The name of entry `index` as the list shows it, in UTF-8.
    std::string shownName(int index) const;

private:
    NativePath folder_;
    std::vector<std::string> entries_;
};

} // namespace quillet
