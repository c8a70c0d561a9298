#include "cli/commands.h"
#include "cli/stdio.h"
#include "files/file_system.h"

#include <array>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::cli {

namespace {

// Each command's help as --help prints it behind the name, laid out as GNU programs do, so
// that help2man makes the manual page from it: descriptions from column 18 on, a folder
// command's options on lines of their own.
// clang-format off
constexpr std::array Commands{
    Command{"clean", "", "join paragraph lines, halve doubled spaces\n", runClean},
    Command{"sort", "", "put the tagged sections into the fixed order\n", runSort},
    Command{"strip", "", "remove every tag and brace span\n", runStrip},
    Command{"utf8", "", "convert Windows-1252 text to UTF-8\n", runUtf8},
    Command{"strip-folder", "FOLDER [--overwrite] [--sort]",
            "remove the tags of every *.txt file of FOLDER, into a new\n"
            "                 subfolder untagged_<date>_<count>\n"
            "    --overwrite  write over the files instead\n"
            "    --sort       put the sections into the fixed order first\n", runStripFolder},
    Command{"export", "SOURCE TARGET [--format F]",
            "export the *.txt files of SOURCE, one record per file, into a\n"
            "                 new folder of TARGET: XML<n>/XML.xml beside its schema XML.xsd\n"
            "    --format F   xml (the default), csv (into CSV<n>/Daten.csv),\n"
            "                 jsonl (JSONL<n>/Daten.jsonl) or\n"
            "                 sqlite (SQLite<n>/Daten.sqlite)\n", runExport},
    Command{"check", "FOLDER [--tag NAME]...",
            "report damaged tagging in the *.txt files of FOLDER as\n"
            "                 FILE:LINE: message\n"
            "    --tag NAME   count NAME as a tag too, written as in the files\n"
            "                 (such as MEINTAG); may be given more than once\n", runCheck},
};
// clang-format on

void printCommand(std::FILE* to, const Command& c) {
    std::fprintf(to, "  %-14.*s %.*s", static_cast<int>(c.name.size()), c.name.data(),
                 static_cast<int>(c.help.size()), c.help.data());
}

} // namespace

void printUsage(std::FILE* to) {
    std::fputs("Usage: quillet-batch clean|sort|strip|utf8 < IN > OUT\n", to);
    for (const Command& c : Commands)
        if (!c.synopsis.empty())
            std::fprintf(to, "  or:  quillet-batch %.*s %.*s\n", static_cast<int>(c.name.size()),
                         c.name.data(), static_cast<int>(c.synopsis.size()), c.synopsis.data());
    std::fputs("Runs Quillet's text filters and folder operations. The filters read\n"
               "Windows-1252 text and change only the bytes their rules name; every other\n"
               "byte passes as it came.\n"
               "\nText filters, standard input to standard output:\n",
               to);
    for (const Command& c : Commands)
        if (c.synopsis.empty())
            printCommand(to, c);
    std::fputs("\nFolder commands:\n", to);
    for (const Command& c : Commands)
        if (!c.synopsis.empty())
            printCommand(to, c);
    std::fputs("\nOptions:\n"
               "  --help         show this help\n"
               "\nExit status:\n"
               "  0              done; for check: no findings\n"
               "  1              failed, and the message on standard error says why;\n"
               "                 for check: findings\n"
               "  2              a usage error; for check also: FOLDER could not be\n"
               "                 checked (missing or unreadable)\n",
               to);
}

} // namespace quillet::cli

int main(int argc, char** argv) {
    using namespace quillet::cli;
    useBinaryStdio();
    // The arguments as the system holds them (on Windows UTF-16, whatever the code page).
    std::vector<std::string> arguments = quillet::commandLineArguments(argc, argv);
    std::vector<char*> args;
    for (std::string& argument : arguments)
        args.push_back(argument.data());
    if (args.size() < 2) {
        printUsage(stderr);
        return ExitUsage;
    }
    const std::string_view name = args[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(stdout);
        return ExitOk;
    }
    for (const Command& c : Commands) {
        if (c.name != name)
            continue;
        try {
            return c.run(std::span<char*>(args).subspan(2));
        } catch (const std::bad_alloc&) {
        } catch (const std::length_error&) {
        }
        // What the commands do not catch themselves still ends in a message, not an abort.
        std::fputs("quillet-batch: not enough memory\n", stderr);
        // check's 1 means findings; a check that could not be done must not pass for one.
        return c.run == runCheck ? ExitNotChecked : ExitFailure;
    }
    std::fprintf(stderr, "quillet-batch: unknown command '%s'\n", args[1]);
    printUsage(stderr);
    return ExitUsage;
}
