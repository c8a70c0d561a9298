#pragma once

// Real folders for the core's tests, named as the core names paths (bytes on POSIX, UTF-8
// on Windows), made without the core's help.

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillet::test {

using NativePath = std::string;

inline std::filesystem::path fsPath(const NativePath& path) {
    // UTF-8 on Windows; the bytes themselves on POSIX.
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

// A new, empty folder in the system's temporary folder; it goes with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::random_device seed;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const std::filesystem::path candidate =
                std::filesystem::temp_directory_path() /
                ("quillet-test-" + std::to_string(seed()) + std::to_string(seed()));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) {
                const std::u8string name = candidate.u8string();
                path_.assign(name.begin(), name.end());
            }
        }
        if (path_.empty())
            throw std::runtime_error("cannot make a temporary folder");
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(fsPath(path_), ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const NativePath& path() const { return path_; }
    NativePath filePath(std::string_view name) const { return path_ + "/" + std::string(name); }

private:
    NativePath path_;
};

inline bool makeFolder(const NativePath& path) {
    std::error_code error;
    return std::filesystem::create_directory(fsPath(path), error);
}

inline bool makeFolders(const NativePath& path) {
    std::error_code error;
    std::filesystem::create_directories(fsPath(path), error);
    return !error && std::filesystem::is_directory(fsPath(path));
}

// A symbolic link at `link` to `target`, which need not exist.
inline bool makeLink(const NativePath& target, const NativePath& link) {
    std::error_code error;
    std::filesystem::create_symlink(fsPath(target), fsPath(link), error);
    return !error;
}

// Whether a file or folder is there, following links.
inline bool exists(const NativePath& path) {
    std::error_code error;
    return std::filesystem::exists(fsPath(path), error);
}

inline bool removeName(const NativePath& path) {
    std::error_code error;
    return std::filesystem::remove(fsPath(path), error);
}

} // namespace quillet::test
