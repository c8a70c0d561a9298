#include "files/file_system.h"

#include "text/cp1252.h"
#include "text/unicode.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <set>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

namespace {

int fd(const FileHandle& file) {
    return static_cast<int>(file.native());
}

// Opening for reading or writing never waits: a FIFO without a partner or a device that
// waits for a carrier would block the whole program.
constexpr int OpenFlags = O_NONBLOCK | O_CLOEXEC | O_NOCTTY;

FileStatus toStatus(const struct stat& st) {
    FileStatus s;
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.inode = static_cast<std::uint64_t>(st.st_ino);
    s.links = static_cast<std::uint64_t>(st.st_nlink);
    s.size = static_cast<std::uint64_t>(st.st_size);
    s.owner = st.st_uid;
    s.group = st.st_gid;
    s.mode = st.st_mode & 07777;
    // The status change time: no write, rename over or change of owner or mode goes
    // without it.
    s.changed = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
    s.regular = S_ISREG(st.st_mode);
    return s;
}

FileHandle keepIfRegular(int descriptor, FileStatus* opened = nullptr) {
    FileHandle file(descriptor);
    struct stat st {};
    if (descriptor < 0 || ::fstat(descriptor, &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    if (opened != nullptr)
        *opened = toStatus(st);
    return file;
}

} // namespace

bool isTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

void setBinaryMode(std::FILE*) {
    // POSIX streams never translate line breaks.
}

char nativeSeparator() {
    return '/';
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return {argv, argv + argc};
}

NativePath nativePathFromArgument(const char* argument) {
    return argument;
}

std::string displayPath(std::string_view path) {
    std::string shown;
    shown.reserve(path.size());
    forEachCodePoint(
        path, [](unsigned char byte) { return cp1252ToUnicode(byte); },
        [&](char32_t c) { appendCodePoint(c, shown); });
    return shown;
}

bool FileHandle::close() {
    if (native_ == Closed)
        return true;
    const int result = ::close(static_cast<int>(native_));
    native_ = Closed;
    return result == 0;
}

FileHandle openRegularFile(const NativePath& path, FileStatus* opened) {
    // What is no regular file is not even opened: opening some devices is an act of its own
    // (a watchdog starts counting, a tape rewinds). The kind is checked again once open.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return {};
    return keepIfRegular(::open(path.c_str(), O_RDONLY | OpenFlags), opened);
}

FileHandle openRegularFileForRewriting(const NativePath& path) {
    return keepIfRegular(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | OpenFlags));
}

FileHandle createFile(const NativePath& path, CreateOutcome& outcome, Access access) {
    // O_EXCL never follows a link: a link at the name, dangling or not, counts as taken.
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | OpenFlags,
                                  access == Access::OwnerOnly ? 0600 : 0666);
    if (descriptor < 0) {
        outcome = errno == EEXIST ? CreateOutcome::Taken : CreateOutcome::Failed;
        return {};
    }
    outcome = CreateOutcome::Created;
    return FileHandle(descriptor);
}

CreateOutcome createFolder(const NativePath& path, Access access) {
    if (::mkdir(path.c_str(), access == Access::OwnerOnly ? 0700 : 0777) == 0)
        return CreateOutcome::Created;
    return errno == EEXIST ? CreateOutcome::Taken : CreateOutcome::Failed;
}

FileHandle lockFile(const NativePath& path, LockOutcome& outcome) {
    outcome = LockOutcome::Failed;
    // A holder that ends removes the file while it still holds the lock; whoever opened
    // the file before that then holds a lock on a name that is gone, and tries again.
    for (int attempt = 0; attempt < 10; ++attempt) {
        FileHandle file(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | OpenFlags, 0600));
        if (!file.isOpen())
            return {};
        // flock, not fcntl: its lock belongs to the open file, so that a second open in this
        // same process is refused as well; the system lets go of it when the process ends.
        if (::flock(fd(file), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK)
                outcome = LockOutcome::HeldByAnother;
            return {};
        }
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd(file), &opened) != 0)
            return {};
        if (::lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
            named.st_ino == opened.st_ino) {
            outcome = LockOutcome::Locked;
            return file;
        }
    }
    return {};
}

long long readSome(const FileHandle& file, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd(file), buffer, size);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

bool writeAll(const FileHandle& file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd(file), bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

bool truncateTo(const FileHandle& file, std::uint64_t size) {
    return ::ftruncate(fd(file), static_cast<off_t>(size)) == 0;
}

bool statusOf(const FileHandle& file, FileStatus& status) {
    struct stat st {};
    if (::fstat(fd(file), &st) != 0)
        return false;
    status = toStatus(st);
    return true;
}

bool statusOf(const NativePath& path, FileStatus& status) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    status = toStatus(st);
    return true;
}

bool isFolder(const NativePath& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool nameTaken(const NativePath& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool isLink(const NativePath& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool mayWrite(const NativePath& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool takeOwnerAndMode(const FileHandle& file, const FileStatus& of) {
    struct stat st {};
    if (::fstat(fd(file), &st) != 0)
        return false;
    // The owner first: changing it clears the set-id bits, which the mode then puts back.
    const bool otherOwner = st.st_uid != of.owner || st.st_gid != of.group;
    if (otherOwner && ::fchown(fd(file), of.owner, of.group) != 0)
        return false;
    return (!otherOwner && (st.st_mode & 07777) == of.mode) ||
           ::fchmod(fd(file), static_cast<mode_t>(of.mode)) == 0;
}

bool keepMode(const FileHandle& file, const FileStatus& of) {
    struct stat st {};
    if (::fstat(fd(file), &st) != 0)
        return false;
    return (st.st_mode & 07777) == of.mode || ::fchmod(fd(file), static_cast<mode_t>(of.mode)) == 0;
}

bool syncFile(const FileHandle& file) {
    return ::fsync(fd(file)) == 0;
}

bool syncFiles(const std::vector<WrittenFile>& files) {
#ifdef __linux__
    // One syncfs per file system writes out and waits for everything written to it, the
    // files' data and their names alike: one wait on the disk instead of one per file.
    std::set<std::uint64_t> flushed;
    for (const WrittenFile& written : files) {
        if (!flushed.insert(written.device).second)
            continue;
        const FileHandle file(::open(written.path.c_str(), O_RDONLY | OpenFlags));
        if (!file.isOpen() || ::syncfs(fd(file)) != 0)
            return false;
    }
    return true;
#else
    for (const WrittenFile& written : files) {
        const FileHandle file(::open(written.path.c_str(), O_RDONLY | OpenFlags));
        if (!file.isOpen() || !syncFile(file))
            return false;
    }
    return true;
#endif
}

bool syncFolder(const NativePath& folder) {
    const FileHandle file(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return file.isOpen() && syncFile(file);
}

bool renameReplacing(const NativePath& from, const NativePath& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool removeFile(const NativePath& path) {
    return ::unlink(path.c_str()) == 0;
}

bool removeEmptyFolder(const NativePath& path) {
    return ::rmdir(path.c_str()) == 0;
}

bool fitsInMemory(std::uint64_t bytes) {
    // Asked once: a folder of many files would ask again for every file.
    static const std::uint64_t limit = [] {
        std::uint64_t most = UINT64_MAX;
        const long pages = ::sysconf(_SC_PHYS_PAGES);
        const long pageSize = ::sysconf(_SC_PAGESIZE);
        if (pages > 0 && pageSize > 0)
            most = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
        struct rlimit addressSpace {};
        if (::getrlimit(RLIMIT_AS, &addressSpace) == 0 && addressSpace.rlim_cur != RLIM_INFINITY)
            most = std::min<std::uint64_t>(most, addressSpace.rlim_cur);
        return most;
    }();
    return bytes < limit;
}

NativePath executableFolder() {
#ifdef __linux__
    std::string target(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size())
        return {};
    target.resize(static_cast<std::size_t>(length));
    return folderOf(target);
#else
    return {};
#endif
}

NativePath resolveLinks(const NativePath& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return path;
    NativePath out = resolved;
    std::free(resolved); // NOLINT: realpath hands over memory from malloc
    return out;
}

bool listFiles(const NativePath& folder, const std::function<bool(std::string_view name)>& wanted,
               std::vector<std::string>& names) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return false;
    const int dirFd = ::dirfd(dir);
    bool ok = true;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            ok = errno == 0;
            break;
        }
        const std::string_view name = entry->d_name;
        // Hidden files, "." and ".." included, stay out as a file list leaves them out.
        if (name.empty() || name.front() == '.' || !wanted(name))
            continue;
        bool folderEntry = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            // A link that leads nowhere is listed: it is a file that cannot be opened.
            struct stat st {};
            folderEntry = ::fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (!folderEntry)
            names.emplace_back(name);
    }
    ::closedir(dir);
    return ok;
}

} // namespace quillet
