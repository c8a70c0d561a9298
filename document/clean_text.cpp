#include "document/clean_text.h"

#include <array>
#include <cstring>

namespace quillet {

// The nine replacements run as a chain of streaming stages, each the left-to-right,
// non-overlapping scan of one step that hands its output to the next step. A chain of
// such scans gives exactly the result of running the steps one after another over the
// whole text, in one pass and without nine intermediate copies of the document.

namespace {

struct Sink {
    std::string* out = nullptr;
    void put(char c) { out->push_back(c); }
    void put(std::string_view s) { out->append(s); }
    void finish() {}
    bool idle() const { return true; }
};

template <std::size_t N> struct Literal {
    char chars[N]{};
    consteval Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            chars[i] = s[i];
    }
    constexpr std::size_t size() const { return N - 1; }
    constexpr std::string_view view() const { return {chars, N - 1}; }
};

template <Literal Pattern, Literal Replacement, class Next> struct Step {
    static_assert(Pattern.size() >= 1 && Pattern.size() <= 4);
    Next next;
    char held[4]{};
    std::size_t count = 0; // held bytes: a proper prefix of Pattern

    void put(char c) {
        if (count == 0 && c != Pattern.chars[0]) {
            next.put(c);
            return;
        }
        held[count++] = c;
        // A candidate that stops matching moves the scan on by one byte, as the naive
        // search does; what remains is tried again as the start of a match.
        while (count > 0 && std::memcmp(held, Pattern.chars, count) != 0) {
            next.put(held[0]);
            std::memmove(held, held + 1, --count);
        }
        if (count == Pattern.size()) {
            count = 0;
            for (char r : Replacement.view())
                next.put(r);
        }
    }
    void put(std::string_view s) {
        for (char c : s)
            put(c);
    }
    void finish() {
        for (std::size_t i = 0; i < count; ++i)
            next.put(held[i]);
        count = 0;
        next.finish();
    }
    bool idle() const { return count == 0 && next.idle(); }
};

// clang-format off
using Chain =
    Step<"\r\n\r\n", "***",
    Step<"\r\n", " ",
    Step<"  ", " ",
    Step<"***", "\r\n\r\n",
    Step<" - ", "***",
    Step<"- ", "+++",
    Step<"-\r\n", "",
    Step<"***", " - ",
    Step<"+++", "- ",
    Sink>>>>>>>>>;
// clang-format on

// Bytes that start a search text of some step; every other byte passes an idle chain
// unchanged.
constexpr std::array<bool, 256> startsPattern = [] {
    std::array<bool, 256> t{};
    for (unsigned char c : {'\r', ' ', '*', '-', '+'})
        t[c] = true;
    return t;
}();

Sink& sinkOf(Chain& chain) {
    return chain.next.next.next.next.next.next.next.next.next;
}

} // namespace

struct CleanTextStream::Pipeline {
    Chain chain;
};

CleanTextStream::CleanTextStream() : pipeline_(std::make_unique<Pipeline>()) {}
CleanTextStream::~CleanTextStream() = default;

void CleanTextStream::feed(std::string_view chunk, std::string& out) {
    Chain& chain = pipeline_->chain;
    sinkOf(chain).out = &out;
    const char* p = chunk.data();
    const char* end = p + chunk.size();
    while (p < end) {
        if (chain.idle()) {
            const char* run = p;
            while (p < end && !startsPattern[static_cast<unsigned char>(*p)])
                ++p;
            out.append(run, static_cast<std::size_t>(p - run));
            if (p == end)
                break;
        }
        chain.put(*p++);
    }
}

void CleanTextStream::finish(std::string& out) {
    sinkOf(pipeline_->chain).out = &out;
    pipeline_->chain.finish();
}

std::string CleanText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    CleanTextStream stream;
    stream.feed(text, out);
    stream.finish(out);
    return out;
}

} // namespace quillet
