#include "files/file_system.h"

#include "text/unicode.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace quillet {

namespace {

HANDLE handle(const FileHandle& file) {
    return reinterpret_cast<HANDLE>(file.native());
}

FileHandle own(HANDLE h) {
    return h == INVALID_HANDLE_VALUE ? FileHandle()
                                     : FileHandle(reinterpret_cast<std::intptr_t>(h));
}

std::wstring wide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), length);
    return out;
}

std::string narrow(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), length, nullptr, nullptr);
    return out;
}

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A disk file, not a folder, pipe, console or device: GetFileType tells a disk file from
// the others, which might block a read or never end. `info` receives what the system told
// of it, so that nobody asks twice: the answer names the volume, which Wine looks up
// slowly (about half a millisecond a file).
FileHandle keepIfRegular(HANDLE h, BY_HANDLE_FILE_INFORMATION& info) {
    FileHandle file = own(h);
    if (!file.isOpen() || GetFileType(h) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return {};
    return file;
}

FileStatus statusFrom(const BY_HANDLE_FILE_INFORMATION& info, DWORD type) {
    FileStatus status;
    status.device = info.dwVolumeSerialNumber;
    status.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    status.links = info.nNumberOfLinks;
    status.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    status.changed =
        static_cast<std::int64_t>(((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                   info.ftLastWriteTime.dwLowDateTime) *
                                  100);
    status.regular =
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && type == FILE_TYPE_DISK;
    return status;
}

} // namespace

bool isTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

void setBinaryMode(std::FILE* stream) {
    _setmode(_fileno(stream), _O_BINARY);
}

char nativeSeparator() {
    return '\\';
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return {argv, argv + argc};
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        arguments.push_back(narrow(wide[i]));
    LocalFree(wide);
    return arguments;
}

NativePath nativePathFromArgument(const char* argument) {
    return argument;
}

std::string displayPath(std::string_view path) {
    // Names come from UTF-16 and are UTF-8 already; anything else is shown as U+FFFD.
    std::string shown;
    shown.reserve(path.size());
    forEachCodePoint(
        path, [](unsigned char) { return char32_t{0xFFFD}; },
        [&](char32_t c) { appendCodePoint(c, shown); });
    return shown;
}

bool FileHandle::close() {
    if (native_ == Closed)
        return true;
    const BOOL closed = CloseHandle(reinterpret_cast<HANDLE>(native_));
    native_ = Closed;
    return closed != 0;
}

FileHandle openRegularFile(const NativePath& path, FileStatus* opened) {
    BY_HANDLE_FILE_INFORMATION info{};
    FileHandle file = keepIfRegular(CreateFileW(wide(path).c_str(), GENERIC_READ, ShareAll, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                                    info);
    if (file.isOpen() && opened != nullptr)
        *opened = statusFrom(info, FILE_TYPE_DISK);
    return file;
}

FileHandle openRegularFileForRewriting(const NativePath& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    FileHandle file =
        keepIfRegular(CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, ShareAll,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr),
                      info);
    if (!file.isOpen() || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return {};
    return file;
}

FileHandle createFile(const NativePath& path, CreateOutcome& outcome, Access) {
    const HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, ShareAll,
                                 nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        outcome = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS
                      ? CreateOutcome::Taken
                      : CreateOutcome::Failed;
        return {};
    }
    outcome = CreateOutcome::Created;
    return own(h);
}

CreateOutcome createFolder(const NativePath& path, Access) {
    if (CreateDirectoryW(wide(path).c_str(), nullptr))
        return CreateOutcome::Created;
    return GetLastError() == ERROR_ALREADY_EXISTS ? CreateOutcome::Taken : CreateOutcome::Failed;
}

FileHandle lockFile(const NativePath& path, LockOutcome& outcome) {
    // Nobody else may write to the file or open it for writing while the handle is open;
    // Windows closes it, and removes the file, when the process ends, however it ends.
    const HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        outcome = GetLastError() == ERROR_SHARING_VIOLATION ? LockOutcome::HeldByAnother
                                                            : LockOutcome::Failed;
        return {};
    }
    outcome = LockOutcome::Locked;
    return own(h);
}

long long readSome(const FileHandle& file, char* buffer, std::size_t size) {
    DWORD got = 0;
    const DWORD ask = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    if (!ReadFile(handle(file), buffer, ask, &got, nullptr))
        return -1;
    return got;
}

bool writeAll(const FileHandle& file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD put = 0;
        const DWORD ask = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        if (!WriteFile(handle(file), bytes.data(), ask, &put, nullptr) || put == 0)
            return false;
        bytes.remove_prefix(put);
    }
    return true;
}

bool truncateTo(const FileHandle& file, std::uint64_t size) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(size);
    return SetFilePointerEx(handle(file), position, nullptr, FILE_BEGIN) &&
           SetEndOfFile(handle(file));
}

bool statusOf(const FileHandle& file, FileStatus& status) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle(file), &info))
        return false;
    status = statusFrom(info, GetFileType(handle(file)));
    return true;
}

bool statusOf(const NativePath& path, FileStatus& status) {
    // FILE_FLAG_BACKUP_SEMANTICS lets a folder be opened to be asked about.
    const FileHandle file =
        own(CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.isOpen() && statusOf(file, status);
}

bool isFolder(const NativePath& path) {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool nameTaken(const NativePath& path) {
    return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isLink(const NativePath& path) {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool mayWrite(const NativePath& path) {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) == 0;
}

bool takeOwnerAndMode(const FileHandle&, const FileStatus&) {
    // A new file inherits the folder's permissions, as every program's new files do.
    return true;
}

bool keepMode(const FileHandle&, const FileStatus&) {
    return true;
}

bool syncFile(const FileHandle& file) {
    return FlushFileBuffers(handle(file)) != 0;
}

bool syncFiles(const std::vector<WrittenFile>& files) {
    // Windows flushes file by file.
    for (const WrittenFile& written : files) {
        const FileHandle file = own(CreateFileW(wide(written.path).c_str(), GENERIC_WRITE, ShareAll,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
        if (!file.isOpen() || !syncFile(file))
            return false;
    }
    return true;
}

bool syncFolder(const NativePath&) {
    // NTFS journals the names itself; a folder cannot be flushed like a file.
    return true;
}

bool renameReplacing(const NativePath& from, const NativePath& to) {
    return MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool removeFile(const NativePath& path) {
    return DeleteFileW(wide(path).c_str()) != 0;
}

bool removeEmptyFolder(const NativePath& path) {
    return RemoveDirectoryW(wide(path).c_str()) != 0;
}

bool fitsInMemory(std::uint64_t bytes) {
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (!GlobalMemoryStatusEx(&memory))
        return true;
    return bytes < memory.ullTotalPhys && bytes < memory.ullTotalVirtual;
}

NativePath executableFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);
    }
    return folderOf(narrow(name));
}

NativePath resolveLinks(const NativePath& path) {
    const FileHandle file =
        own(CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.isOpen())
        return path;
    std::wstring resolved(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle(file), resolved.data(),
                                      static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
        if (length == 0)
            return path;
        if (length < resolved.size()) {
            resolved.resize(length);
            break;
        }
        resolved.resize(length);
    }
    // The answer carries the long-path prefix, which the other calls do not need.
    constexpr std::wstring_view unc = L"\\\\?\\UNC\\";
    constexpr std::wstring_view local = L"\\\\?\\";
    if (resolved.starts_with(unc))
        resolved.replace(0, unc.size(), L"\\\\");
    else if (resolved.starts_with(local))
        resolved.erase(0, local.size());
    return narrow(resolved);
}

bool listFiles(const NativePath& folder, const std::function<bool(std::string_view name)>& wanted,
               std::vector<std::string>& names) {
    WIN32_FIND_DATAW found{};
    const HANDLE search =
        FindFirstFileExW(wide(joinPath(folder, "*")).c_str(), FindExInfoBasic, &found,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        // A link to a folder carries the folder's attribute too; a file link whose target
        // is gone is listed, a file that cannot be opened.
        constexpr DWORD leftOut =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((found.dwFileAttributes & leftOut) != 0)
            continue;
        std::string name = narrow(found.cFileName);
        if (wanted(name))
            names.push_back(std::move(name));
    } while (FindNextFileW(search, &found));
    const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    return complete;
}

} // namespace quillet
