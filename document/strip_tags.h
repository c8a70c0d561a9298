#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Removes every span from a "{" to the next "}" behind it, both braces included.
// A "}" that closes no span stays as text, and so does a "{" with no "}" behind it
// together with everything after it.
std::string stripTags(std::string_view text);

// The same over a text that arrives in pieces.
class StripTagsStream {
public:
    void feed(std::string_view chunk, std::string& out);
    void finish(std::string& out);

private:
    // The open span: from its "{" to the end of what has arrived. Kept, not dropped,
    // because a span that never closes stays in the text.
    std::string open_;
    bool inSpan_ = false;
};

} // namespace quillet
