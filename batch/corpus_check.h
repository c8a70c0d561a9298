#pragma once

#include "batch/file_list.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// One thing in a tagged file that makes an export or a tag removal quietly wrong.
struct Finding {
    long long line;      // from 1; lines end at CR LF, at a lone CR and at a lone LF
    std::string message; // UTF-8
};

// The findings in a file's bytes as they lie on the disk, by line. A tag is what a tag
// removal takes away: a "{" and the first "}" behind it. Its name counts when it is one of
// the eleven predefined names or one of `userTags`.
std::vector<Finding> checkTaggedText(std::string_view bytes, std::span<const std::string> userTags);

struct CheckTotals {
    int files = 0;
    int filesWithFindings = 0;
    long long findings = 0;
};

// Checks every file of the list in list order and hands each finding on with the path of
// its file; a file that cannot be read is a finding of its own.
CheckTotals checkFolder(const TextFileList& list, std::span<const std::string> userTags,
                        const std::function<void(const NativePath& path, const Finding&)>& report);

// "3 findings in 2 of 10 files"
std::string checkSummary(const CheckTotals& totals);

} // namespace quillet
