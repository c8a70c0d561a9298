#include "files/file_system.h"

namespace quillet {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        close();
        native_ = other.native_;
        other.native_ = Closed;
    }
    return *this;
}

NativePath joinPath(std::string_view folder, std::string_view name) {
    NativePath path(folder);
    if (!path.empty() && path.back() != '/' && path.back() != nativeSeparator())
        path += nativeSeparator();
    path += name;
    return path;
}

NativePath folderOf(std::string_view path) {
    const std::size_t cut = path.find_last_of(std::string{'/', nativeSeparator()});
    return cut == std::string_view::npos ? NativePath() : NativePath(path.substr(0, cut + 1));
}

bool createFolders(const NativePath& path, Access access) {
    if (path.empty())
        return false;
    if (isFolder(path))
        return true;
    std::string_view own = path;
    while (own.size() > 1 && (own.back() == '/' || own.back() == nativeSeparator()))
        own.remove_suffix(1);
    const NativePath parent = folderOf(own);
    // Nothing lies above a root ("/", a drive), which is there or cannot be made.
    if (!parent.empty() && parent.size() < own.size() && !createFolders(parent, access))
        return false;
    return createFolder(path, access) != CreateOutcome::Failed && isFolder(path);
}

} // namespace quillet
