#pragma once

#include <cstdio>
#include <span>
#include <string_view>

namespace quillet::cli {

// Exit codes of quillet-batch.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;
// check's, as grep and diff have them: a finding is no failure, and a script must tell
// findings from a check that could not be done.
inline constexpr int ExitFindings = 1;
inline constexpr int ExitNotChecked = 2;

// One command: its name, its argument synopsis, one line of help, and the routine that
// runs it with the arguments after the name.
struct Command {
    std::string_view name;
    std::string_view synopsis;
    std::string_view help;
    int (*run)(std::span<char*> args);
};

int runClean(std::span<char*> args);
int runSort(std::span<char*> args);
int runStrip(std::span<char*> args);
int runUtf8(std::span<char*> args);
int runStripFolder(std::span<char*> args);
int runExport(std::span<char*> args);
int runCheck(std::span<char*> args);

void printUsage(std::FILE* to);

} // namespace quillet::cli
