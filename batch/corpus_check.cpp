#include "batch/corpus_check.h"

#include "batch/record_fields.h"
#include "document/sort_tags.h"
#include "files/text_file.h"
#include "text/cp1252.h"

#include <algorithm>
#include <array>

namespace quillet {

namespace {

enum class ByteKind : unsigned char { Plain, OpenBrace, CloseBrace, Return, LineFeed, Undefined };

constexpr std::array<ByteKind, 256> Kinds = [] {
    std::array<ByteKind, 256> t{};
    t['{'] = ByteKind::OpenBrace;
    t['}'] = ByteKind::CloseBrace;
    t['\r'] = ByteKind::Return;
    t['\n'] = ByteKind::LineFeed;
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        t[b] = ByteKind::Undefined;
    return t;
}();

// A tag as a message shows it: UTF-8, cut short, control bytes as "?".
std::string shownTag(std::string_view inner) {
    constexpr std::size_t longest = 40;
    std::string bytes(inner.substr(0, longest));
    for (char& c : bytes)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    std::string shown(1, '{');
    shown += convertToUtf8(bytes);
    shown += inner.size() > longest ? "...}" : "}";
    return shown;
}

bool isExported(std::string_view name) {
    return std::any_of(XmlFields.begin(), XmlFields.end(), [&](const XmlField& f) {
        return f.opening.substr(1, f.opening.size() - 2) == name;
    });
}

class Checker {
public:
    explicit Checker(std::span<const std::string> userTags) : userTags_(userTags) {}

    void marker(std::string_view inner, long long line) {
        const bool closing = inner.starts_with('/');
        const std::string_view name = closing ? inner.substr(1) : inner;
        if (!known(name)) {
            add(line, "tag " + shownTag(inner) + " is not one of the program's tags");
            return;
        }
        anyTag_ = true;
        if (!closing) {
            open(name, line);
            return;
        }
        const auto it = std::find_if(open_.rbegin(), open_.rend(),
                                     [&](const Section& s) { return s.name == name; });
        if (it == open_.rend()) {
            add(line, "closing tag " + shownTag(inner) + " without its opening tag");
            return;
        }
        // Sections opened inside this one and not closed before it never will be; what
        // was closed inside them was inside this one too.
        const auto index = static_cast<std::size_t>(std::next(it).base() - open_.begin());
        for (std::size_t above = open_.size() - 1; above > index; --above) {
            neverClosed(open_[above]);
            open_[index].inside.insert(open_[index].inside.end(), open_[above].inside.begin(),
                                       open_[above].inside.end());
        }
        const Section closed = std::move(open_[index]);
        open_.resize(index);
        for (const Placed& s : closed.inside)
            add(s.line, "section {" + convertToUtf8(s.name) + "} inside section {" +
                            convertToUtf8(closed.name) + "} of line " +
                            std::to_string(closed.line));
        if (!open_.empty())
            open_.back().inside.push_back({closed.name, closed.line});
    }

    // Whatever is still open never closes; what was closed inside it has no place that
    // counts.
    void finish() {
        for (const Section& s : open_)
            neverClosed(s);
        open_.clear();
        if (!anyTag_)
            add(1, "no tag in the file");
    }

    void add(long long line, std::string message) {
        findings_.push_back({line, std::move(message)});
    }
    std::vector<Finding> take() {
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        return std::move(findings_);
    }

private:
    struct Placed {
        std::string_view name;
        long long line;
    };
    // An open section and the sections that were opened and closed inside it.
    struct Section {
        std::string_view name;
        long long line;
        std::vector<Placed> inside;
    };

    bool known(std::string_view name) const {
        const auto& predefined = sortOrder();
        return std::find(predefined.begin(), predefined.end(), name) != predefined.end() ||
               std::find(userTags_.begin(), userTags_.end(), name) != userTags_.end();
    }

    void open(std::string_view name, long long line) {
        // The export takes the first section of a tag and nothing of the later ones.
        if (isExported(name)) {
            const auto first = std::find_if(seen_.begin(), seen_.end(),
                                            [&](const Placed& s) { return s.name == name; });
            if (first == seen_.end())
                seen_.push_back({name, line});
            else
                add(line, "another section {" + convertToUtf8(name) +
                              "}: an export takes only the one of line " +
                              std::to_string(first->line));
        }
        open_.push_back({name, line, {}});
    }

    void neverClosed(const Section& s) {
        add(s.line, "section {" + convertToUtf8(s.name) + "} is opened but never closed");
    }

    std::span<const std::string> userTags_;
    std::vector<Section> open_;
    std::vector<Placed> seen_;
    std::vector<Finding> findings_;
    bool anyTag_ = false;
};

} // namespace

std::vector<Finding> checkTaggedText(std::string_view bytes,
                                     std::span<const std::string> userTags) {
    constexpr std::size_t none = std::string_view::npos;
    Checker checker(userTags);
    long long line = 1;
    std::size_t braceAt = none;
    long long braceLine = 0;
    long long undefinedLine = 0;
    long long loneBreaks[2] = {0, 0}; // CR, LF
    long long firstLoneBreak[2] = {0, 0};
    const auto loneBreak = [&](int which) {
        if (loneBreaks[which]++ == 0)
            firstLoneBreak[which] = line;
        ++line;
    };
    const std::size_t n = bytes.size();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0; i < n; ++i) {
        // Most bytes are plain text: pass over them without the switch.
        while (i < n && Kinds[data[i]] == ByteKind::Plain)
            ++i;
        if (i == n)
            break;
        const unsigned char byte = data[i];
        switch (Kinds[byte]) {
        case ByteKind::Plain:
            break;
        case ByteKind::OpenBrace:
            if (braceAt == none) {
                braceAt = i;
                braceLine = line;
            }
            break;
        case ByteKind::CloseBrace:
            // A "}" outside a tag is text, also to a tag removal.
            if (braceAt != none)
                checker.marker(bytes.substr(braceAt + 1, i - braceAt - 1), braceLine);
            braceAt = none;
            break;
        case ByteKind::Return:
            if (i + 1 < n && bytes[i + 1] == '\n') {
                ++i;
                ++line;
            } else {
                loneBreak(0);
            }
            break;
        case ByteKind::LineFeed:
            loneBreak(1);
            break;
        case ByteKind::Undefined:
            if (undefinedLine != line) {
                static constexpr char hex[] = "0123456789ABCDEF";
                checker.add(line, std::string("byte 0x") + hex[byte >> 4] + hex[byte & 15] +
                                      " has no character in Windows-1252");
                undefinedLine = line;
            }
            break;
        }
    }
    if (braceAt != none)
        checker.add(braceLine, "\"{\" without a \"}\" behind it: a tag removal keeps the rest "
                               "of the file");
    const char* names[2] = {"a lone CR", "a lone LF"};
    for (int which = 0; which < 2; ++which)
        if (loneBreaks[which] > 0)
            checker.add(firstLoneBreak[which],
                        std::string("line break is ") + names[which] + ", not CR LF (" +
                            std::to_string(loneBreaks[which]) + " in the file)");
    checker.finish();
    return checker.take();
}

CheckTotals checkFolder(const TextFileList& list, std::span<const std::string> userTags,
                        const std::function<void(const NativePath& path, const Finding&)>& report) {
    CheckTotals totals;
    for (int i = 0; i < list.count(); ++i) {
        const NativePath path = list.selectedPath(i);
        // The bytes as they lie on the disk: the line breaks are what is checked.
        const std::optional<std::string> bytes = readFileBytes(path);
        std::vector<Finding> findings;
        if (bytes)
            findings = checkTaggedText(*bytes, userTags);
        else
            findings.push_back({1, "the file cannot be opened"});
        ++totals.files;
        if (findings.empty())
            continue;
        ++totals.filesWithFindings;
        totals.findings += static_cast<long long>(findings.size());
        for (const Finding& f : findings)
            report(path, f);
    }
    return totals;
}

std::string checkSummary(const CheckTotals& totals) {
    const auto counted = [](long long n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    if (totals.findings == 0)
        return "no findings in " + counted(totals.files, "file", "files");
    return counted(totals.findings, "finding", "findings") + " in " +
           std::to_string(totals.filesWithFindings) + " of " +
           counted(totals.files, "file", "files");
}

} // namespace quillet
