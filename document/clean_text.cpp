#include "document/clean_text.h"

#include <array>
#include <cstdint>

namespace quillet {

// The nine replacements run as a chain of streaming stages, each the left-to-right,
// non-overlapping scan of one step that hands its output to the next step. A chain of
// such scans gives exactly the result of running the steps one after another over the
// whole text, in one pass and without nine intermediate copies of the document.

namespace {

// A byte of the text, or one of the marks that stand in for a paragraph break, a spaced
// dash or a hyphen followed by a space while the steps between run. The marks lie
// outside the bytes, so no text can contain them or be taken for them.
using Symbol = std::uint16_t;
constexpr Symbol ParagraphMark = 0x100;
constexpr Symbol DashMark = 0x101;
constexpr Symbol HyphenMark = 0x102;

constexpr Symbol asSymbol(char c) {
    return static_cast<unsigned char>(c);
}

struct Sink {
    std::string* out = nullptr;
    // Every mark is turned back into bytes before the end of the chain.
    void put(Symbol s) { out->push_back(static_cast<char>(s)); }
    void finish() {}
    bool idle() const { return true; }
};

// A search or replacement text of the steps: bytes, or a single mark.
template <std::size_t N> struct Symbols {
    Symbol at[N == 0 ? 1 : N]{};
    consteval Symbols(const char (&s)[N + 1]) {
        for (std::size_t i = 0; i < N; ++i)
            at[i] = asSymbol(s[i]);
    }
    consteval explicit Symbols(Symbol mark) requires(N == 1) : at{mark} {}
    constexpr std::size_t size() const { return N; }
};
template <std::size_t M> Symbols(const char (&)[M]) -> Symbols<M - 1>;

consteval Symbols<1> mark(Symbol m) {
    return Symbols<1>(m);
}

template <Symbols Pattern, Symbols Replacement, class Next> struct Step {
    static_assert(Pattern.size() >= 1 && Pattern.size() <= 4);
    Next next;
    Symbol held[4]{};
    std::size_t count = 0; // held symbols: a proper prefix of Pattern

    void put(Symbol c) {
        if (count == 0 && c != Pattern.at[0]) {
            next.put(c);
            return;
        }
        held[count++] = c;
        // A candidate that stops matching moves the scan on by one symbol, as the naive
        // search does; what remains is tried again as the start of a match.
        while (count > 0 && !heldIsPrefix()) {
            next.put(held[0]);
            for (std::size_t i = 1; i < count; ++i)
                held[i - 1] = held[i];
            --count;
        }
        if (count == Pattern.size()) {
            count = 0;
            for (std::size_t i = 0; i < Replacement.size(); ++i)
                next.put(Replacement.at[i]);
        }
    }
    bool heldIsPrefix() const {
        for (std::size_t i = 0; i < count; ++i)
            if (held[i] != Pattern.at[i])
                return false;
        return true;
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
    Step<"\r\n\r\n", mark(ParagraphMark),
    Step<"\r\n", " ",
    Step<"  ", " ",
    Step<mark(ParagraphMark), "\r\n\r\n",
    Step<" - ", mark(DashMark),
    Step<"- ", mark(HyphenMark),
    Step<"-\r\n", "",
    Step<mark(DashMark), " - ",
    Step<mark(HyphenMark), "- ",
    Sink>>>>>>>>>;
// clang-format on

// The bytes that search texts are made of. Every search text of bytes is at least two
// bytes long and made of these only; the others are single marks, which only the chain
// itself puts in. A byte outside the set ends every partial match, so after it
// the chain holds nothing, and a run of these bytes that follows such a byte and is
// followed by one always gives the same output. Single bytes of the set followed by an
// outside byte pass unchanged; longer runs are looked up in a table that is filled by
// running the chain once per run that occurs.
constexpr std::string_view PatternBytes = "\r\n -";

constexpr std::array<std::uint8_t, 256> SymbolOf = [] {
    std::array<std::uint8_t, 256> t{};
    for (std::size_t i = 0; i < PatternBytes.size(); ++i)
        t[static_cast<unsigned char>(PatternBytes[i])] = static_cast<std::uint8_t>(i + 1);
    return t;
}();

bool special(const char* p) {
    return SymbolOf[static_cast<unsigned char>(*p)] != 0;
}

// The first byte from p on that starts a run of two or more pattern bytes or is a pattern
// byte at the end; everything before it passes unchanged. Looking at every second byte
// first halves the lookups in ordinary text, where pattern bytes are mostly lone spaces.
const char* skipPlain(const char* p, const char* end) {
    while (end - p >= 2) {
        if (!special(p + 1)) {
            p += 2;
            continue;
        }
        if (special(p))
            return p;
        ++p;
    }
    if (p < end && !special(p))
        ++p;
    return p;
}

Sink& sinkOf(Chain& chain) {
    return chain.next.next.next.next.next.next.next.next.next;
}

constexpr std::size_t MaxTabledRun = 5;
constexpr std::size_t SymbolCount = PatternBytes.size();

constexpr std::size_t tableSize() {
    std::size_t size = 0, power = 1;
    for (std::size_t len = 1; len <= MaxTabledRun; ++len) {
        power *= SymbolCount;
        size += power;
    }
    return size;
}

// Output of every run of one to five pattern bytes between two other bytes, worked out
// once by running the chain over it; runs of one length share a block, shorter first.
class RunTable {
public:
    RunTable() {
        std::size_t slot = 0;
        std::string run;
        for (std::size_t len = 1; len <= MaxTabledRun; ++len)
            fill(run, len, slot);
    }
    const std::string& operator[](std::string_view run) const {
        std::size_t index = 0, offset = 0, block = SymbolCount;
        for (std::size_t len = 1; len < run.size(); ++len, block *= SymbolCount)
            offset += block;
        for (char c : run)
            index = index * SymbolCount + (SymbolOf[static_cast<unsigned char>(c)] - 1u);
        return outputs_[offset + index];
    }

private:
    void fill(std::string& run, std::size_t len, std::size_t& slot) {
        if (run.size() == len) {
            Chain chain;
            std::string out;
            sinkOf(chain).out = &out;
            for (char c : run)
                chain.put(asSymbol(c));
            chain.put(asSymbol('x'));
            out.pop_back();
            outputs_[slot++] = std::move(out);
            return;
        }
        for (char c : PatternBytes) {
            run.push_back(c);
            fill(run, len, slot);
            run.pop_back();
        }
    }
    std::array<std::string, tableSize()> outputs_;
};

const RunTable& runTable() {
    static const RunTable table;
    return table;
}

} // namespace

struct CleanTextStream::Pipeline {
    Chain chain;
};

CleanTextStream::CleanTextStream() : pipeline_(std::make_unique<Pipeline>()) {}
CleanTextStream::~CleanTextStream() = default;

void CleanTextStream::feed(std::string_view chunk, std::string& out) {
    Chain& chain = pipeline_->chain;
    const RunTable& runs = runTable();
    sinkOf(chain).out = &out;
    const char* p = chunk.data();
    const char* end = p + chunk.size();
    // A run begun in the last piece goes on through the chain until it is over.
    while (p < end && !chain.idle())
        chain.put(asSymbol(*p++));
    while (p < end) {
        const char* plain = p;
        p = skipPlain(p, end);
        out.append(plain, static_cast<std::size_t>(p - plain));
        if (p == end)
            break;
        const char* run = p;
        while (p < end && special(p))
            ++p;
        const auto length = static_cast<std::size_t>(p - run);
        if (p == end || length > MaxTabledRun) {
            // The run may go on in the next piece, or is too long for the table.
            for (const char* c = run; c < p; ++c)
                chain.put(asSymbol(*c));
            if (p < end)
                chain.put(asSymbol(*p++));
        } else {
            out.append(runs[std::string_view(run, length)]);
        }
    }
}

void CleanTextStream::finish(std::string& out) {
    sinkOf(pipeline_->chain).out = &out;
    pipeline_->chain.finish();
}

std::string cleanText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    CleanTextStream stream;
    stream.feed(text, out);
    stream.finish(out);
    return out;
}

} // namespace quillet
