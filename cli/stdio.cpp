#include "cli/stdio.h"

#include "files/file_system.h"
#include "files/text_file.h"

namespace quillet::cli {

void useBinaryStdio() {
    setBinaryMode(stdin);
    setBinaryMode(stdout);
}

std::optional<std::string> readAll(std::FILE* in) {
    // Whatever size the input claims (a folder behind standard input claims an absurd one)
    // is never trusted: memory grows with what is read.
    return readToEnd([in](char* buffer, std::size_t size) -> long long {
        const std::size_t got = std::fread(buffer, 1, size, in);
        return got == 0 && std::ferror(in) ? -1 : static_cast<long long>(got);
    });
}

bool writeAll(std::FILE* out, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
}

} // namespace quillet::cli
