#include "cli/stdio.h"

#include "text/file_system.h"

namespace quillet::cli {

void useBinaryStdio() {
    setBinaryMode(stdin);
    setBinaryMode(stdout);
}

bool readAll(std::FILE* in, std::string& out) {
    // A file of known size is read into a buffer of that size; growing by doubling could
    // take twice the document's memory. A pipe does not seek and keeps the growth.
    const long start = std::ftell(in);
    if (start >= 0 && std::fseek(in, 0, SEEK_END) == 0) {
        const long end = std::ftell(in);
        if (std::fseek(in, start, SEEK_SET) == 0 && end > start)
            out.reserve(out.size() + static_cast<std::size_t>(end - start) + 1);
    }
    return forEachChunk(in, [&](std::string_view chunk) { out.append(chunk); });
}

bool writeAll(std::FILE* out, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
}

} // namespace quillet::cli
