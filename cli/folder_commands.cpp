#include "batch/corpus_check.h"
#include "batch/strip_folder.h"
#include "batch/xml_export.h"
#include "cli/commands.h"
#include "files/file_system.h"
#include "services/date_text.h"
#include "text/display_text.h"

#include <cstdio>
#include <string>
#include <vector>

namespace quillet::cli {

namespace {

// A progress bar drawn over one line of standard error, only when someone watches it.
class TerminalProgress : public ProgressBar {
public:
    TerminalProgress() : enabled_(isTerminal(stderr)) {}
    ~TerminalProgress() override { endLine(); }

    void setMaximum(int maximum) override { maximum_ = maximum; }
    void setPosition(int position) override {
        if (!enabled_ || maximum_ <= 0)
            return;
        const int percent = static_cast<int>(100LL * position / maximum_);
        if (percent == shownPercent_ && drawn_)
            return;
        shownPercent_ = percent;
        constexpr int width = 40;
        const int filled = width * percent / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%% %d/%d", std::string(filled, '#').c_str(),
                     std::string(width - filled, ' ').c_str(), percent, position, maximum_);
        std::fflush(stderr);
        drawn_ = true;
    }
    // Ends the bar's line, so that a message that follows stands on a line of its own.
    void endLine() {
        if (drawn_)
            std::fputc('\n', stderr);
        drawn_ = false;
    }

private:
    bool enabled_;
    bool drawn_ = false;
    int maximum_ = 0;
    int shownPercent_ = -1;
};

void printMessage(std::FILE* to, std::string_view cp1252) {
    const std::string utf8 = toDisplayUtf8(cp1252);
    std::fwrite(utf8.data(), 1, utf8.size(), to);
    std::fputc('\n', to);
    std::fflush(to);
}

// The message boxes on the terminal. No question is ever put: the command line says
// what to do, so the warning is answered as if the user had declined the subfolder.
class TerminalMessages : public MessageBoxes, public FailureReporter {
public:
    explicit TerminalMessages(TerminalProgress& progress) : progress_(progress) {}
    void showError(std::string_view message) override {
        progress_.endLine();
        printMessage(stderr, message);
    }
    void showInformation(std::string_view message) override {
        progress_.endLine();
        printMessage(stdout, message);
    }
    bool askWarning(std::string_view) override { return false; }
    void showGeneralError(std::string_view message) override {
        progress_.endLine();
        printMessage(stderr, std::string(message) + ".");
    }

private:
    TerminalProgress& progress_;
};

// The work buffer of the program's page is a preview; nobody looks at it here.
class NoView : public TextView {
public:
    std::string text() const override { return {}; }
    void setText(std::string_view) override {}
};

class FixedControls : public StripFolderControls {
public:
    FixedControls(bool overwrite, bool sort) : subfolder_(!overwrite), sort_(sort) {}
    bool subfolderMode() const override { return subfolder_; }
    void checkSubfolderMode() override { subfolder_ = true; }
    bool sortBeforeStripping() const override { return sort_; }

private:
    bool subfolder_;
    bool sort_;
};

int usageError(const char* message, const char* argument) {
    std::fprintf(stderr, "quillet-batch: %s '%s'\n", message, argument);
    printUsage(stderr);
    return ExitUsage;
}

int exitCode(BatchOutcome outcome) {
    return outcome == BatchOutcome::Completed ? ExitOk : ExitFailure;
}

NativePath pathArgument(const char* arg) {
    return nativePathFromArgument(arg);
}

// A name as the lists show it, in UTF-8.
std::string shownName(const NativePath& path) {
    return displayPath(path);
}

// Reads the list of a folder. A folder that is there but cannot be read is said so: its
// empty list would otherwise pass for a folder without text files.
bool readList(TextFileList& list, const NativePath& folder) {
    list.assign(folder);
    if (list.readable() || !isFolder(folder))
        return true;
    std::fprintf(stderr, "quillet-batch: cannot read the folder %s\n", shownName(folder).c_str());
    return false;
}

} // namespace

int runStripFolder(std::span<char*> args) {
    const char* folder = nullptr;
    bool overwrite = false;
    bool sort = false;
    for (char* arg : args) {
        const std::string_view a = arg;
        if (a == "--overwrite")
            overwrite = true;
        else if (a == "--sort")
            sort = true;
        else if (a.starts_with("--") || folder != nullptr)
            return usageError("unexpected argument", arg);
        else
            folder = arg;
    }
    if (folder == nullptr) {
        std::fputs("quillet-batch: strip-folder needs a FOLDER\n", stderr);
        printUsage(stderr);
        return ExitUsage;
    }

    TextFileList list;
    if (!readList(list, pathArgument(folder)))
        return ExitFailure;
    TerminalProgress progress;
    TerminalMessages messages(progress);
    FixedControls controls(overwrite, sort);
    NoView buffer;
    SystemDateSource date;
    const StripFolderServices services{controls, buffer, progress, messages, messages, date};
    return exitCode(stripFolder(list, pathArgument(folder), services));
}

int runExport(std::span<char*> args) {
    std::vector<char*> folders;
    ExportFormat format = ExportFormat::Xml;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (a == "--format" && i + 1 < args.size()) {
            const std::optional<ExportFormat> chosen = formatByOption(args[++i]);
            if (!chosen)
                return usageError("unknown format", args[i]);
            format = *chosen;
        } else if (a.starts_with("--")) {
            return usageError("unexpected argument", args[i]);
        } else {
            folders.push_back(args[i]);
        }
    }
    if (folders.size() != 2) {
        std::fputs("quillet-batch: export needs a SOURCE and a TARGET folder\n", stderr);
        printUsage(stderr);
        return ExitUsage;
    }
    if (!isFormatBuiltIn(format)) {
        const std::string_view label = formatInfo(format).label;
        std::fprintf(stderr, "quillet-batch: this build has no %.*s export\n",
                     static_cast<int>(label.size()), label.data());
        return ExitFailure;
    }
    const NativePath source = pathArgument(folders[0]);
    TextFileList list;
    if (!readList(list, source))
        return ExitFailure;
    TerminalProgress progress;
    TerminalMessages messages(progress);
    const XmlExportServices services{progress, messages, messages};
    const XmlExportResult result = exportRecords(format, source, list, pathArgument(folders[1]),
                                                 findSchemaTemplate(executableFolder()), services);
    return exitCode(result.outcome);
}

int runCheck(std::span<char*> args) {
    const char* folder = nullptr;
    std::vector<std::string> userTags;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (a == "--tag" && i + 1 < args.size())
            userTags.emplace_back(args[++i]);
        else if (a.starts_with("--") || folder != nullptr)
            return usageError("unexpected argument", args[i]);
        else
            folder = args[i];
    }
    if (folder == nullptr) {
        std::fputs("quillet-batch: check needs a FOLDER\n", stderr);
        printUsage(stderr);
        return ExitUsage;
    }
    const NativePath source = pathArgument(folder);
    if (!isFolder(source)) {
        printMessage(stderr, MessageSourceMissing);
        return ExitNotChecked;
    }
    TextFileList list;
    if (!readList(list, source))
        return ExitNotChecked;
    // Findings go out as the editors' "FILE:LINE: message", the file named as lists do.
    std::string line;
    const CheckTotals totals =
        checkFolder(list, userTags, [&](const NativePath& path, const Finding& f) {
            line = shownName(path);
            line += ':';
            line += std::to_string(f.line);
            line += ": ";
            line += f.message;
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), stdout);
        });
    std::printf("%s\n", checkSummary(totals).c_str());
    // Windows' C library may have failed a write before the flush and report nothing then.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("quillet-batch: cannot write standard output\n", stderr);
        return ExitNotChecked;
    }
    return totals.findings == 0 ? ExitOk : ExitFindings;
}

} // namespace quillet::cli
