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

} // namespace quillet
