#include "batch/output_folder.h"

#include <string>

namespace quillet {

bool OutputFolder::tryName(const NativePath& parent, std::string_view name, Outcome& outcome) {
    // The separator is added even when the folder text ends with one, as in every path the
    // program builds from a folder field.
    path_ = parent + nativeSeparator() + std::string(name);
    switch (createFolder(path_)) {
    case CreateOutcome::Created:
        claimed_ = true;
        outcome = Outcome::Claimed;
        return true;
    case CreateOutcome::Taken:
        outcome = Outcome::AllTaken;
        return false;
    case CreateOutcome::Failed:
        break;
    }
    outcome = Outcome::Failed;
    return true;
}

OutputFolder::Outcome OutputFolder::claimNumbered(const NativePath& parent, std::string_view base,
                                                  int first, int last) {
    Outcome outcome = Outcome::AllTaken;
    for (int n = first; n <= last; ++n)
        if (tryName(parent, std::string(base) + std::to_string(n), outcome))
            return outcome;
    return outcome;
}

OutputFolder::Outcome OutputFolder::claimVariant(const NativePath& parent, std::string_view name,
                                                 int last) {
    Outcome outcome = Outcome::AllTaken;
    if (tryName(parent, name, outcome))
        return outcome;
    for (int n = 2; n <= last; ++n)
        if (tryName(parent, std::string(name) + "-" + std::to_string(n), outcome))
            return outcome;
    return outcome;
}

void OutputFolder::removeIfEmpty() {
    if (claimed_ && removeEmptyFolder(path_))
        claimed_ = false;
}

} // namespace quillet
