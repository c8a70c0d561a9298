#pragma once

#include "files/file_system.h"
#include "services/services.h"
#include "text/text_view.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// Turns every lone CR and every lone LF into CR LF; CR LF stays as it is. True when it
// changed anything.
bool normalizeLineBreaks(std::string& text);

// Reads to the end through `read`, which fills a buffer and returns how much it put there
// (0 at the end, -1 on an error). Memory follows what was read, in pieces joined at the
// end, never a size claimed beforehand. Nothing on an error or when memory runs out.
std::optional<std::string> readToEnd(const std::function<long long(char*, std::size_t)>& read);

// The whole file's bytes. Nothing when it cannot be opened (missing, no access, not a
// regular file: a FIFO, a device or a folder behind the name) or read to its end, or when
// it does not fit in memory. `read`, when given, receives what the opened file is.
std::optional<std::string> readFileBytes(const NativePath& path, FileStatus* read = nullptr);

// The whole file as 8-bit text with its line breaks normalized; nothing as above.
std::optional<std::string> readTextFile(const NativePath& path);

// Loads a file into a text view, replacing its text. On failure the view keeps its text
// and the general error box says "Datei <path> kann nicht geöffnet werden".
bool loadTextFile(const NativePath& path, TextView& view, FailureReporter& failures);

enum class Creation { Written, AlreadyThere, Failed };

// Creates the file only if nothing has that name at this very moment, so that a file
// another program wrote meanwhile is never overwritten. Anything but a folder counts as
// there, a dangling link included. A failed write removes the half-written file.
Creation createNewFile(const NativePath& path, std::string_view bytes);

// A file written under a hidden temporary name beside its final one; only commit() gives
// it the final name, in one step, once it is complete and on the disk. Until then, and
// after a failure, nothing has the final name that was not there before.
class StagedFile {
public:
    explicit StagedFile(NativePath finalPath) : final_(std::move(finalPath)) {}
    ~StagedFile() { cancel(); }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    bool open(Access access = Access::Usual);
    bool write(std::string_view bytes);
    // Keeps owner, group and mode of the file it is to replace, where it may.
    bool takeOwnerAndMode(const FileStatus& of);
    bool commit();
    // Removes the temporary file; the final name is left as it was.
    void cancel();

    const NativePath& finalPath() const { return final_; }

private:
    NativePath final_;
    NativePath temporary_;
    FileHandle file_;
};

// A hidden file in the folder of `beside`, named after it, that did not exist before.
FileHandle createTemporaryBeside(const NativePath& beside, NativePath& temporary,
                                 Access access = Access::Usual);

// Writes the bytes as the whole content of the file, through a temporary file beside it
// that takes its place only once it is complete: a failure leaves an old file as it was
// and no temporary file behind. Keeps an old file's owner, group and mode; refuses a file
// that is write-protected.
bool replaceFile(const NativePath& path, std::string_view bytes);

std::string cannotOpenMessage(const NativePath& path);
std::string cannotCreateMessage(const NativePath& path);

} // namespace quillet
