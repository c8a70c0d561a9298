#include "document/strip_tags.h"

#include <cstring>

namespace quillet {

// Taking the first "{" and the first "}" over and over again rescans the text once per
// span. Pairing each "{" with the first "}" behind it, left to right, removes the same
// spans in one pass.
void StripTagsStream::feed(std::string_view chunk, std::string& out) {
    const char* p = chunk.data();
    const char* end = p + chunk.size();
    while (p < end) {
        if (inSpan_) {
            const void* close = std::memchr(p, '}', static_cast<std::size_t>(end - p));
            if (!close) {
                open_.append(p, end);
                return;
            }
            open_.clear();
            inSpan_ = false;
            p = static_cast<const char*>(close) + 1;
        } else {
            const void* brace = std::memchr(p, '{', static_cast<std::size_t>(end - p));
            if (!brace) {
                out.append(p, end);
                return;
            }
            const char* at = static_cast<const char*>(brace);
            out.append(p, at);
            inSpan_ = true;
            open_.assign(1, '{');
            p = at + 1;
        }
    }
}

void StripTagsStream::finish(std::string& out) {
    if (inSpan_)
        out.append(open_);
    open_.clear();
    inSpan_ = false;
}

std::string stripTags(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    StripTagsStream stream;
    stream.feed(text, out);
    stream.finish(out);
    return out;
}

} // namespace quillet
