#pragma once

#include "files/file_system.h"

#include <cstdint>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

// Rewrites existing files so that after a crash each is either whole and old or whole and
// new, paying for that once per batch rather than once per file: every new text is first
// written beside its file under a hidden name, all of them are brought to the disk
// together, and only then does each take its file's place.
//
// Each file keeps its owner, group and permission bits; a link stays a link, and the file
// it leads to gets the new text. A file with several names (hard links), or one whose
// owner a new file cannot be given, is rewritten in place, so that every name sees the new
// text and nothing about the file changes but its bytes. Its new text first lies complete
// on the disk in a hidden journal beside it, ".quillet-rewrite-<device>-<inode>", which
// goes only once the rewrite is on the disk as well. A crash in between leaves the journal,
// and finishInterruptedRewrite() completes the rewrite before the file is read again.
class OverwriteBatch {
public:
    OverwriteBatch() = default;
    ~OverwriteBatch() { discard(); }
    OverwriteBatch(const OverwriteBatch&) = delete;
    OverwriteBatch& operator=(const OverwriteBatch&) = delete;

    // Writes the new text for the file at `path`, read as `original`, beside that file.
    // False when it cannot (a write-protected file, no room), with nothing changed. A file
    // that is staged already (a second name of it in the same batch) is not staged again.
    bool stage(const NativePath& path, const FileStatus& original, std::string_view bytes);

    // Puts every staged text in place. False at the first file that cannot take it (its
    // path in failedPath()): the files before it are done, the ones after it untouched.
    bool commit();

    // Removes the texts that were staged and not yet put in place.
    void discard();

    enum class Recovery {
        None,     // no rewrite of the file was cut short
        Finished, // one was, and is now complete: the file must be read again
        Failed,   // one was, and it cannot be completed
    };
    // Completes a rewrite in place of the file at `path`, read as `read`, that a crash cut
    // short, when its journal is there.
    Recovery finishInterruptedRewrite(const NativePath& path, const FileStatus& read) const;

    std::size_t size() const { return staged_.size(); }
    std::uint64_t stagedBytes() const { return bytes_; }
    const NativePath& failedPath() const { return failed_; }

private:
    struct Staged {
        NativePath path;      // as the caller named it
        NativePath target;    // the file that gets the text, every link resolved
        NativePath temporary; // the new text, or the journal of a rewrite in place
        FileStatus original;
        bool inPlace = false;
    };

    std::vector<Staged> staged_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> files_; // device and inode of each
    std::uint64_t bytes_ = 0;
    NativePath failed_;
};

} // namespace quillet
