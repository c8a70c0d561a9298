#include "cli/stdio.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace quillet::cli {

void useBinaryStdio() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

bool readAll(std::FILE* in, std::string& out) {
    return forEachChunk(in, [&](std::string_view chunk) { out.append(chunk); });
}

bool writeAll(std::FILE* out, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
}

} // namespace quillet::cli
