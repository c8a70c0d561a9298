#include "cli/commands.h"
#include "cli/stdio.h"

#include <array>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillet::cli {

namespace {

// clang-format off
constexpr std::array Commands{
    Command{"clean", "", "join paragraph lines, halve doubled spaces (standard input to output)", runClean},
    Command{"sort", "", "put the tagged sections into the fixed order (standard input to output)", runSort},
    Command{"strip", "", "remove every tag and brace span (standard input to output)", runStrip},
    Command{"utf8", "", "convert Windows-1252 text to UTF-8 (standard input to output)", runUtf8},
    Command{"strip-folder", "FOLDER [--overwrite] [--sort]", "remove the tags of every *.txt file of FOLDER", runStripFolder},
    Command{"export", "SOURCE TARGET [--format F]", "export the *.txt files of SOURCE into TARGET/XML<n>; F is xml (the default), csv, jsonl or sqlite, into CSV<n>, JSONL<n>, SQLite<n>", runExport},
    Command{"check", "FOLDER [--tag NAME]...", "report damaged tagging in the *.txt files of FOLDER as FILE:LINE: message", runCheck},
};
// clang-format on

} // namespace

void printUsage(std::FILE* to) {
    std::fputs("Usage: quillet-batch COMMAND [ARGUMENTS]\n\nCommands:\n", to);
    for (const Command& c : Commands) {
        std::string left(c.name);
        if (!c.synopsis.empty())
            left.append(" ").append(c.synopsis);
        std::fprintf(to, "  %-36s %.*s\n", left.c_str(), static_cast<int>(c.help.size()),
                     c.help.data());
    }
    std::fputs("\nThe text filters read Windows-1252 text with CR LF line breaks and write\n"
               "every byte they do not change exactly as it came.\n"
               "  --help                               show this help\n",
               to);
}

} // namespace quillet::cli

int main(int argc, char** argv) {
    using namespace quillet::cli;
    useBinaryStdio();
    if (argc < 2) {
        printUsage(stderr);
        return ExitUsage;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(stdout);
        return ExitOk;
    }
    for (const Command& c : Commands) {
        if (c.name != name)
            continue;
        try {
            return c.run(std::span<char*>(argv + 2, static_cast<std::size_t>(argc - 2)));
        } catch (const std::bad_alloc&) {
        } catch (const std::length_error&) {
        }
        // What the commands do not catch themselves still ends in a message, not an abort.
        std::fputs("quillet-batch: not enough memory\n", stderr);
        // check's 1 means findings; a check that could not be done must not pass for one.
        return c.run == runCheck ? ExitNotChecked : ExitFailure;
    }
    std::fprintf(stderr, "quillet-batch: unknown command '%s'\n", argv[1]);
    printUsage(stderr);
    return ExitUsage;
}
