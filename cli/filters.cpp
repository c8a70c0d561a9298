#include "cli/commands.h"
#include "cli/stdio.h"
#include "document/clean_text.h"
#include "document/sort_tags.h"
#include "document/strip_tags.h"
#include "text/cp1252.h"

#include <cstdio>
#include <utility>

namespace quillet::cli {

namespace {

int finishOutput(bool readOk, bool writeOk) {
    if (!readOk) {
        std::fputs("quillet-batch: cannot read standard input\n", stderr);
        return ExitFailure;
    }
    if (!writeOk || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("quillet-batch: cannot write standard output\n", stderr);
        return ExitFailure;
    }
    return ExitOk;
}

// Runs a streaming filter: feed(chunk, out) for every piece of input, then finish(out).
template <class Filter> int streamFilter(Filter& filter) {
    std::string out;
    bool writeOk = true;
    const bool readOk = forEachChunk(stdin, [&](std::string_view chunk) {
        out.clear();
        filter.feed(chunk, out);
        writeOk = writeOk && writeAll(stdout, out);
    });
    out.clear();
    filter.finish(out);
    writeOk = writeOk && writeAll(stdout, out);
    return finishOutput(readOk, writeOk);
}

struct Utf8Filter {
    void feed(std::string_view chunk, std::string& out) { appendUtf8(chunk, out); }
    void finish(std::string&) {}
};

bool noArguments(std::span<char*> args) {
    if (args.empty())
        return true;
    std::fprintf(stderr, "quillet-batch: unexpected argument '%s'\n", args.front());
    printUsage(stderr);
    return false;
}

} // namespace

int runClean(std::span<char*> args) {
    if (!noArguments(args))
        return ExitUsage;
    CleanTextStream filter;
    return streamFilter(filter);
}

int runStrip(std::span<char*> args) {
    if (!noArguments(args))
        return ExitUsage;
    StripTagsStream filter;
    return streamFilter(filter);
}

int runUtf8(std::span<char*> args) {
    if (!noArguments(args))
        return ExitUsage;
    Utf8Filter filter;
    return streamFilter(filter);
}

int runSort(std::span<char*> args) {
    if (!noArguments(args))
        return ExitUsage;
    // Sections may stand anywhere, so sorting needs the whole document.
    std::optional<std::string> text = readAll(stdin);
    if (!text)
        return finishOutput(false, true);
    const SortedSections sorted = sortTagSections(std::move(*text));
    return finishOutput(true, writeAll(stdout, sorted.head) && writeAll(stdout, sorted.rest));
}

} // namespace quillet::cli
