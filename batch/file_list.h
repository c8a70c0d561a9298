#pragma once

#include "files/file_system.h"

#include <string>
#include <vector>

namespace quillet {

// The "*.txt" files of a folder as a file list shows them: every entry but a folder or a
// link to one (a FIFO, a device, a socket and a link to one of them or to nothing count,
// and fail when they are read as a file that cannot be opened does), the extension in any
// letter case, no hidden files; each name as the bytes the file system holds, whatever
// their encoding. Sorted by
// the shown name without regard to case, names differing only in case in a fixed order.
// Empty when the folder cannot be read; `readable`, when given, tells that case apart.
std::vector<std::string> listTextFiles(const NativePath& folder, bool* readable = nullptr);

// A file list: a folder and a snapshot of its text files, which changes only when the
// list is re-read.
class TextFileList {
public:
    // An empty path is ignored; any other makes it the folder and re-reads the list.
    void assign(const NativePath& folder);
    void reread();

    const NativePath& folder() const { return folder_; }
    // Whether the folder could be read, the last time the list was read.
    bool readable() const { return readable_; }
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
    bool readable_ = false;
};

} // namespace quillet
