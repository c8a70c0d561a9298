#include "files/text_file.h"

#include "text/display_text.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <random>
#include <stdexcept>
#include <vector>

namespace quillet {

namespace {

// True when every line break is already CR LF: each LF follows a CR and there are as many
// CRs as LFs. memchr jumps from line to line, where a byte loop would test every byte.
bool onlyCrLf(std::string_view text) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    std::size_t lineFeeds = 0;
    for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\n', end - p)));
         ++p, ++lineFeeds)
        if (p == begin || p[-1] != '\r')
            return false;
    std::size_t returns = 0;
    for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\r', end - p))); ++p)
        ++returns;
    return returns == lineFeeds;
}

} // namespace

bool normalizeLineBreaks(std::string& text) {
    if (onlyCrLf(text))
        return false;
    std::size_t extra = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == '\r') {
            if (i + 1 < n && text[i + 1] == '\n')
                ++i;
            else
                ++extra;
        } else if (text[i] == '\n') {
            ++extra;
        }
    }
    if (extra == 0)
        return false;
    std::string out;
    out.reserve(n + extra);
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < n && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    text = std::move(out);
    return true;
}

std::optional<std::string> readToEnd(const std::function<long long(char*, std::size_t)>& read) {
    // Pieces without zero-filling, each twice the last up to 16 MB, so that a file of a few
    // kilobytes costs one small piece and a large one few reads; the pieces are joined
    // once the size is known, each freed as soon as it is copied.
    constexpr std::size_t firstPiece = std::size_t{64} << 10;
    constexpr std::size_t largestPiece = std::size_t{16} << 20;
    struct Piece {
        std::unique_ptr<char[]> bytes;
        std::size_t filled;
    };
    try {
        std::vector<Piece> pieces;
        std::size_t total = 0;
        for (std::size_t size = firstPiece;; size = std::min(size * 2, largestPiece)) {
            Piece piece{std::unique_ptr<char[]>(new char[size]), 0};
            bool end = false;
            while (piece.filled < size) {
                const long long got = read(piece.bytes.get() + piece.filled, size - piece.filled);
                if (got < 0)
                    return std::nullopt;
                if (got == 0) {
                    end = true;
                    break;
                }
                piece.filled += static_cast<std::size_t>(got);
            }
            total += piece.filled;
            pieces.push_back(std::move(piece));
            if (end)
                break;
        }
        std::string text;
        text.reserve(total);
        for (Piece& piece : pieces) {
            text.append(piece.bytes.get(), piece.filled);
            piece.bytes.reset();
        }
        return text;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    } catch (const std::length_error&) {
        return std::nullopt;
    }
}

std::optional<std::string> readFileBytes(const NativePath& path, FileStatus* read) {
    FileStatus status;
    const FileHandle file = openRegularFile(path, &status);
    // A file larger than the memory the process may have cannot be held; saying so at once
    // spares reading a terabyte of a sparse file's zeros first.
    if (!file.isOpen() || !fitsInMemory(status.size))
        return std::nullopt;
    if (read != nullptr)
        *read = status;
    return readToEnd([&](char* buffer, std::size_t size) { return readSome(file, buffer, size); });
}

std::optional<std::string> readTextFile(const NativePath& path) {
    std::optional<std::string> text = readFileBytes(path);
    if (!text)
        return std::nullopt;
    try {
        normalizeLineBreaks(*text);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return text;
}

bool loadTextFile(const NativePath& path, TextView& view, FailureReporter& failures) {
    std::optional<std::string> text = readTextFile(path);
    try {
        if (text) {
            view.setText(*text);
            return true;
        }
    } catch (const std::bad_alloc&) {
        // Too large to be shown; the view keeps what it showed.
    }
    failures.showGeneralError(cannotOpenMessage(path));
    return false;
}

Creation createNewFile(const NativePath& path, std::string_view bytes) {
    CreateOutcome outcome = CreateOutcome::Failed;
    FileHandle file = createFile(path, outcome);
    if (outcome == CreateOutcome::Taken)
        return isFolder(path) ? Creation::Failed : Creation::AlreadyThere;
    if (!file.isOpen())
        return Creation::Failed;
    const bool written = writeAll(file, bytes);
    if (!file.close() || !written) {
        removeFile(path);
        return Creation::Failed;
    }
    return Creation::Written;
}

FileHandle createTemporaryBeside(const NativePath& beside, NativePath& temporary, Access access) {
    const NativePath folder = folderOf(beside);
    // Hidden, so that no file list shows a leftover, and named after the file it stands for,
    // so that whoever finds one knows what it is. Long names are cut to leave room.
    const std::string_view name = std::string_view(beside).substr(folder.size()).substr(0, 200);
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    // One generator per thread: the recovery copy is written on a thread of its own.
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> letter(0, sizeof letters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix(8, 'x');
        for (char& c : suffix)
            c = letters[letter(random)];
        temporary = folder + "." + std::string(name) + "." + suffix;
        CreateOutcome outcome = CreateOutcome::Failed;
        FileHandle file = createFile(temporary, outcome, access);
        if (outcome != CreateOutcome::Taken)
            return file;
    }
    return {};
}

bool StagedFile::open(Access access) {
    file_ = createTemporaryBeside(final_, temporary_, access);
    return file_.isOpen();
}

bool StagedFile::write(std::string_view bytes) {
    return file_.isOpen() && writeAll(file_, bytes);
}

bool StagedFile::takeOwnerAndMode(const FileStatus& of) {
    return file_.isOpen() && quillet::takeOwnerAndMode(file_, of);
}

bool StagedFile::commit() {
    if (!file_.isOpen())
        return false;
    const bool synced = syncFile(file_);
    if (!file_.close() || !synced || !renameReplacing(temporary_, final_)) {
        cancel();
        return false;
    }
    temporary_.clear();
    const NativePath folder = folderOf(final_);
    syncFolder(folder.empty() ? NativePath(".") : folder);
    return true;
}

void StagedFile::cancel() {
    file_.close();
    if (!temporary_.empty())
        removeFile(temporary_);
    temporary_.clear();
}

bool replaceFile(const NativePath& target, std::string_view bytes) {
    FileStatus existing;
    const bool exists = statusOf(target, existing);
    if (exists && (!existing.regular || !mayWrite(target)))
        return false;
    StagedFile file(target);
    if (!file.open() || !file.write(bytes) || (exists && !file.takeOwnerAndMode(existing)))
        return false;
    return file.commit();
}

std::string cannotOpenMessage(const NativePath& path) {
    return "Datei " + documentTextFromUtf8(displayPath(path)) +
           " kann nicht ge\xF6"
           "ffnet werden";
}

std::string cannotCreateMessage(const NativePath& path) {
    return "Datei " + documentTextFromUtf8(displayPath(path)) + " kann nicht erstellt werden";
}

} // namespace quillet
