#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The few file calls that differ between POSIX systems and Windows. Each system has its
// own implementation file; CMake builds the one that fits. Everything above works with
// these and never with a system's own calls.

// Whether a stream is a terminal that someone watches.
bool isTerminal(std::FILE* stream);

// Puts a stream into binary mode where the system would translate line breaks, so that
// every byte passes as it is.
void setBinaryMode(std::FILE* stream);

// A path as the system names files. On POSIX it holds the bytes of every name exactly as
// the file system does, whether or not they are valid in any encoding (a name copied from
// an old archive may be Latin-1); on Windows it is UTF-8, turned into UTF-16 at each call.
using NativePath = std::string;

char nativeSeparator();

// The program's command-line arguments, its name first, as the system hands them over: on
// POSIX their bytes; on Windows read as UTF-16 and turned into UTF-8, so that a name in any
// script arrives whole (`argv` holds them in the ANSI code page, with "?" for the rest).
std::vector<std::string> commandLineArguments(int argc, char** argv);

// An argument of commandLineArguments as a path, its bytes untouched.
NativePath nativePathFromArgument(const char* argument);

// A path or a name as a person can read it: what decodes as UTF-8 is shown as such, every
// other byte as its Windows-1252 character; in UTF-8. Only for showing; files are opened by
// their native path.
std::string displayPath(std::string_view path);

// folder + separator + name, the separator left out when the folder ends with one.
NativePath joinPath(std::string_view folder, std::string_view name);

// The folder part of a path, up to and with its last separator; empty for a bare name.
NativePath folderOf(std::string_view path);

// An open file, closed when its owner goes.
class FileHandle {
public:
    static constexpr std::intptr_t Closed = -1;

    FileHandle() = default;
    explicit FileHandle(std::intptr_t native) : native_(native) {}
    FileHandle(FileHandle&& other) noexcept : native_(other.native_) { other.native_ = Closed; }
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { close(); }

    bool isOpen() const { return native_ != Closed; }
    // A file descriptor on POSIX, a HANDLE on Windows.
    std::intptr_t native() const { return native_; }
    // Closes the file now; false when the system reports that something written did not
    // make it (some network file systems say so only here).
    bool close();

private:
    std::intptr_t native_ = Closed;
};

// What the system tells of one file. Owner, group and mode are POSIX's; on Windows they
// stay 0 and the calls that set them do nothing.
struct FileStatus {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t links = 0;
    std::uint64_t size = 0;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::uint32_t mode = 0;   // permission and set-id bits
    std::int64_t changed = 0; // when the file last changed, in nanoseconds
    bool regular = false;

    bool sameFile(const FileStatus& other) const {
        return device == other.device && inode == other.inode;
    }
    // The same file, and nobody has changed it since `other` was taken.
    bool unchangedSince(const FileStatus& other) const {
        return sameFile(other) && changed == other.changed && size == other.size;
    }
};

// Opens an existing file for reading. A link is followed. The open never waits (a FIFO
// without a writer, a device), and only a regular file is opened and kept open: anything
// else is refused like a file that is not there. `opened`, when given, receives what was opened.
FileHandle openRegularFile(const NativePath& path, FileStatus* opened = nullptr);

// Opens an existing regular file for writing over its bytes in place, without following a
// link at the last name and without waiting; anything but a regular file is refused.
FileHandle openRegularFileForRewriting(const NativePath& path);

enum class CreateOutcome { Created, Taken, Failed };

// Who may use a new file or folder: whoever the user's usual permissions let in, or the
// user alone (for text nobody else should read). On Windows a new file takes its folder's
// permissions either way, and the user's own data folder is private there already.
enum class Access { Usual, OwnerOnly };

// Creates a new file for writing, only if nothing at all has that name (a dangling link
// included; a link is never followed).
FileHandle createFile(const NativePath& path, CreateOutcome& outcome,
                      Access access = Access::Usual);

// Creates one folder, only if nothing has that name.
CreateOutcome createFolder(const NativePath& path, Access access = Access::Usual);

// Creates a folder and every missing folder above it; true when the folder is there.
bool createFolders(const NativePath& path, Access access = Access::Usual);

enum class LockOutcome { Locked, HeldByAnother, Failed };

// Opens the file, creating it for the owner alone if need be, and locks it for as long as
// the handle stays open: a second lock on it fails, in this process or another, until the
// handle is closed or its process ends, however it ends. Remove the file before closing the
// handle; a lock on a file that was removed meanwhile is not taken.
FileHandle lockFile(const NativePath& path, LockOutcome& outcome);

// Reads up to `size` bytes; 0 at the end, -1 on an error.
long long readSome(const FileHandle& file, char* buffer, std::size_t size);
bool writeAll(const FileHandle& file, std::string_view bytes);
bool truncateTo(const FileHandle& file, std::uint64_t size);

bool statusOf(const FileHandle& file, FileStatus& status);
// Follows links; false when nothing is there or it cannot be asked.
bool statusOf(const NativePath& path, FileStatus& status);
bool isFolder(const NativePath& path);
// Whether anything has that name, a dangling link included.
bool nameTaken(const NativePath& path);
// Whether the name itself is a link (a symbolic link, a Windows reparse point).
bool isLink(const NativePath& path);
// Whether this process may write to the file, by its permissions.
bool mayWrite(const NativePath& path);

// Gives a new file the owner, group and permission bits of the file it is to replace.
// False when the system refuses (another user's file); the new file is then unfit.
bool takeOwnerAndMode(const FileHandle& file, const FileStatus& of);
// Puts permission bits back that a write in place may have cleared (the set-id bits).
bool keepMode(const FileHandle& file, const FileStatus& of);

// Waits until what was written to the file is on the disk.
bool syncFile(const FileHandle& file);
// A file that was written, and the file system that holds it.
struct WrittenFile {
    NativePath path;
    std::uint64_t device = 0;
};
// Waits until what was written to all these files is on the disk. Where the system can
// flush a whole file system in one call, each file system is flushed once, not each file.
bool syncFiles(const std::vector<WrittenFile>& files);
// Makes the names in a folder (a rename, a removal) durable.
bool syncFolder(const NativePath& folder);

// Renames `from` to `to` in one step, replacing a file that has that name.
bool renameReplacing(const NativePath& from, const NativePath& to);
bool removeFile(const NativePath& path);
// Removes a folder only if it is empty.
bool removeEmptyFolder(const NativePath& path);

// Whether a file of that many bytes could be held in memory at all: not beyond the
// machine's memory or the process's address-space limit.
bool fitsInMemory(std::uint64_t bytes);

// The folder of the running executable, its separator at the end; empty when the system
// does not say.
NativePath executableFolder();

// The path with every link in it resolved, the file that writing to the path changes; the
// path itself when that cannot be found out.
NativePath resolveLinks(const NativePath& path);

// The names of the files in a folder: every entry but a folder or a link to one, leaving
// out hidden and system files. A FIFO, a device, a socket and a link to one of them or to
// nothing are listed, so that whoever reads them says that they cannot be opened instead
// of passing over them. `wanted` picks names before the system is asked for their kind.
// False when the folder cannot be read.
bool listFiles(const NativePath& folder, const std::function<bool(std::string_view name)>& wanted,
               std::vector<std::string>& names);

} // namespace quillet
