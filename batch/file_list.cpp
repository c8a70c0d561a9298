#include "batch/file_list.h"

#include "text/unicode.h"

#include <algorithm>
#include <numeric>

namespace quillet {

namespace {

bool endsWithTxt(std::string_view name) {
    constexpr std::string_view extension = ".txt";
    if (name.size() < extension.size())
        return false;
    const std::string_view tail = name.substr(name.size() - extension.size());
    return std::equal(tail.begin(), tail.end(), extension.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

} // namespace

std::vector<std::string> listTextFiles(const NativePath& folder, bool* readable) {
    std::vector<std::string> names;
    const bool read = !folder.empty() && listFiles(folder, endsWithTxt, names);
    if (readable != nullptr)
        *readable = read;
    if (!read)
        return {};
    // Sorted by what the list shows without regard to case: Unicode's simple case folding,
    // compared in UTF-16 units. Only the folded names live while sorting, so that a list of
    // 100,000 names holds each name once more at most.
    std::vector<std::u16string> folded;
    folded.reserve(names.size());
    for (const std::string& name : names) {
        folded.push_back(toUtf16(displayPath(name)));
        foldCase(folded.back());
    }
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (const int c = folded[a].compare(folded[b]); c != 0)
            return c < 0;
        // Names that differ in case alone, and names shown alike, in a fixed order.
        if (const int c = toUtf16(displayPath(names[a])).compare(toUtf16(displayPath(names[b])));
            c != 0)
            return c < 0;
        return names[a] < names[b];
    });
    folded = {};
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const std::size_t i : order)
        sorted.push_back(std::move(names[i]));
    return sorted;
}

void TextFileList::assign(const NativePath& folder) {
    if (folder.empty())
        return;
    folder_ = folder;
    reread();
}

void TextFileList::reread() {
    entries_ = listTextFiles(folder_, &readable_);
}

NativePath TextFileList::selectedPath(int index) const {
    if (index < 0 || index >= count())
        return {};
    return joinPath(folder_, entries_[static_cast<std::size_t>(index)]);
}

std::string TextFileList::shownName(int index) const {
    if (index < 0 || index >= count())
        return {};
    return displayPath(entries_[static_cast<std::size_t>(index)]);
}

} // namespace quillet
