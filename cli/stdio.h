#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace quillet::cli {

// Puts standard input and output into binary mode where the platform translates line
// breaks, so the filters see and write every byte as it is.
void useBinaryStdio();

// Reads a stream in pieces and hands each piece on; false on a read error.
template <class OnChunk> bool forEachChunk(std::FILE* in, OnChunk&& onChunk) {
    std::string buffer(1 << 20, '\0');
    for (;;) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
        if (got > 0)
            onChunk(std::string_view(buffer.data(), got));
        if (got < buffer.size())
            return !std::ferror(in);
    }
}

// The whole stream; nothing on a read error or when it does not fit in memory.
std::optional<std::string> readAll(std::FILE* in);
bool writeAll(std::FILE* out, std::string_view bytes);

} // namespace quillet::cli
