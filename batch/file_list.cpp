#include "batch/file_list.h"

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
    // Sorted by what the list shows; the shown names live only while sorting, so that a
    // list of 100,000 names holds each name once.
    std::vector<QString> shown;
    shown.reserve(names.size());
    for (const std::string& name : names)
        shown.push_back(displayPath(name));
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int folded = QString::compare(shown[a], shown[b], Qt::CaseInsensitive);
        if (folded != 0)
            return folded < 0;
        const int exact = QString::compare(shown[a], shown[b], Qt::CaseSensitive);
        return exact != 0 ? exact < 0 : names[a] < names[b];
    });
    shown = {};
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

QString TextFileList::shownName(int index) const {
    if (index < 0 || index >= count())
        return {};
    return displayPath(entries_[static_cast<std::size_t>(index)]);
}

} // namespace quillet
