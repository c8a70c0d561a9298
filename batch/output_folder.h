#pragma once

#include "files/file_system.h"

#include <string_view>

namespace quillet {

// The new folder that one run writes its output into. It is claimed with an exclusive
// creation, so two runs at the same moment never share one and no run writes into a
// folder that was there before; a run that fails before anything useful is in it takes it
// away again.
class OutputFolder {
public:
    enum class Outcome {
        Claimed,
        AllTaken, // every name tried exists already
        Failed,   // a folder could not be created (no permission, no parent, disk full)
    };

    // parent + separator + base + n for n from `first` to `last`: the first that can be
    // created. `base` names the kind of output ("XML", "CSV").
    Outcome claimNumbered(const NativePath& parent, std::string_view base, int first, int last);

    // parent + separator + name, and when that is taken the next free of name + "-2",
    // name + "-3", ... up to name + "-" + last.
    Outcome claimVariant(const NativePath& parent, std::string_view name, int last);

    bool claimed() const { return claimed_; }
    // The folder claimed, or the one that could not be created.
    const NativePath& path() const { return path_; }

    // Takes the claimed folder away if nothing is in it.
    void removeIfEmpty();

private:
    bool tryName(const NativePath& parent, std::string_view name, Outcome& outcome);

    NativePath path_;
    bool claimed_ = false;
};

} // namespace quillet
