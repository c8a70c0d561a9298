#include "batch/overwrite_batch.h"

#include "files/text_file.h"

#include <memory>
#include <set>
#include <string>

namespace quillet {

namespace {

NativePath targetOf(const NativePath& path) {
    return isLink(path) ? resolveLinks(path) : path;
}

// Named after the file's identity, not its name, so that the journal of a file is found
// whichever of its names is listed, and fits whatever the length of the name.
NativePath journalOf(const NativePath& target, const FileStatus& file) {
    return folderOf(target) + ".quillet-rewrite-" + std::to_string(file.device) + "-" +
           std::to_string(file.inode);
}

// Copies the journal's bytes over the file's own, then cuts the file to their length. The
// file is opened again and must still be the one that was read.
bool rewriteInPlace(const NativePath& target, const FileStatus& original,
                    const NativePath& journal) {
    const FileHandle out = openRegularFileForRewriting(target);
    FileStatus now;
    if (!out.isOpen() || !statusOf(out, now) || !now.unchangedSince(original))
        return false;
    const FileHandle in = openRegularFile(journal);
    if (!in.isOpen())
        return false;
    constexpr std::size_t pieceSize = std::size_t{1} << 20;
    const std::unique_ptr<char[]> piece(new char[pieceSize]);
    std::uint64_t total = 0;
    for (;;) {
        const long long got = readSome(in, piece.get(), pieceSize);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        if (!writeAll(out, std::string_view(piece.get(), static_cast<std::size_t>(got))))
            return false;
        total += static_cast<std::uint64_t>(got);
    }
    // A write by someone other than the owner clears the set-id bits; they go back on.
    return truncateTo(out, total) && keepMode(out, original);
}

void syncFolders(const std::set<NativePath>& folders) {
    for (const NativePath& folder : folders)
        syncFolder(folder.empty() ? NativePath(".") : folder);
}

} // namespace

bool OverwriteBatch::stage(const NativePath& path, const FileStatus& original,
                           std::string_view bytes) {
    if (!files_.insert({original.device, original.inode}).second)
        return true;
    Staged s{path, targetOf(path), {}, original, original.links > 1};
    if (!mayWrite(s.target)) {
        failed_ = path;
        return false;
    }
    FileHandle file;
    if (s.inPlace) {
        s.temporary = journalOf(s.target, original);
        CreateOutcome outcome = CreateOutcome::Failed;
        file = createFile(s.temporary, outcome);
        if (!file.isOpen())
            s.temporary.clear();
    } else {
        file = createTemporaryBeside(s.target, s.temporary);
    }
    bool ok = file.isOpen() && writeAll(file, bytes);
    if (ok && !s.inPlace && !takeOwnerAndMode(file, original)) {
        // A new file cannot be given this owner or group: the rewrite in place keeps them.
        const NativePath journal = journalOf(s.target, original);
        ok = !nameTaken(journal) && renameReplacing(s.temporary, journal);
        if (ok) {
            s.temporary = journal;
            s.inPlace = true;
        }
    }
    ok = file.close() && ok;
    if (!ok) {
        if (!s.temporary.empty())
            removeFile(s.temporary);
        files_.erase({original.device, original.inode});
        failed_ = path;
        return false;
    }
    bytes_ += bytes.size();
    staged_.push_back(std::move(s));
    return true;
}

bool OverwriteBatch::commit() {
    if (staged_.empty())
        return true;
    std::vector<WrittenFile> temporaries;
    temporaries.reserve(staged_.size());
    for (const Staged& s : staged_)
        temporaries.push_back({s.temporary, s.original.device});
    // The one wait on the disk that the whole batch pays for: no file is touched before
    // every new text is there.
    std::size_t done = 0;
    if (syncFiles(temporaries)) {
        for (; done < staged_.size(); ++done) {
            Staged& s = staged_[done];
            FileStatus now;
            // Only the file as it was read is replaced: never what took its name meanwhile,
            // and never one that somebody changed since.
            if (!statusOf(s.target, now) || !now.regular || !now.unchangedSince(s.original))
                break;
            if (s.inPlace && !rewriteInPlace(s.target, s.original, s.temporary)) {
                // It may have changed part of the file: the journal stays, so that the
                // next run completes the rewrite.
                s.temporary.clear();
                break;
            }
            if (!s.inPlace && !renameReplacing(s.temporary, s.target))
                break;
        }
    }
    const bool complete = done == staged_.size();
    if (!complete)
        failed_ = staged_[done].path;

    // What was done is made durable: the rewritten files, then the journals go; the new
    // names of the renamed files.
    std::vector<WrittenFile> rewritten;
    std::set<NativePath> folders;
    for (std::size_t i = 0; i < done; ++i) {
        if (staged_[i].inPlace)
            rewritten.push_back({staged_[i].target, staged_[i].original.device});
        folders.insert(folderOf(staged_[i].target));
    }
    const bool durable = rewritten.empty() || syncFiles(rewritten);
    // A journal whose rewrite may not be on the disk stays, for the next run to finish.
    for (std::size_t i = 0; i < done; ++i) {
        if (staged_[i].inPlace && durable)
            removeFile(staged_[i].temporary);
        staged_[i].temporary.clear();
    }
    syncFolders(folders);
    if (complete && !durable)
        failed_ = staged_.front().path;
    discard();
    return complete && durable;
}

void OverwriteBatch::discard() {
    for (const Staged& s : staged_)
        if (!s.temporary.empty())
            removeFile(s.temporary);
    staged_.clear();
    files_.clear();
    bytes_ = 0;
}

OverwriteBatch::Recovery OverwriteBatch::finishInterruptedRewrite(const NativePath& path,
                                                                  const FileStatus& read) const {
    // A journal of this batch's own is not a leftover.
    if (files_.contains({read.device, read.inode}))
        return Recovery::None;
    const NativePath target = targetOf(path);
    const NativePath journal = journalOf(target, read);
    if (!nameTaken(journal))
        return Recovery::None;
    if (!rewriteInPlace(target, read, journal) || !syncFiles({{target, read.device}}))
        return Recovery::Failed;
    removeFile(journal);
    const NativePath folder = folderOf(journal);
    syncFolder(folder.empty() ? NativePath(".") : folder);
    return Recovery::Finished;
}

} // namespace quillet
