#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace quillet {

// Joins the lines of paragraphs, halves doubled spaces and removes a hyphen before a
// paragraph break: nine replacements, each over the result of the one before.
std::string cleanText(std::string_view text);

// The same cleaning over a text that arrives in pieces; the output of all pieces plus
// finish() equals cleanText of the whole text.
class CleanTextStream {
public:
    CleanTextStream();
    ~CleanTextStream();
    CleanTextStream(const CleanTextStream&) = delete;
    CleanTextStream& operator=(const CleanTextStream&) = delete;

    void feed(std::string_view chunk, std::string& out);
    void finish(std::string& out);

private:
    struct Pipeline;
    std::unique_ptr<Pipeline> pipeline_;
};

} // namespace quillet
