#pragma once

namespace quillet {

// How a batch over a folder ended.
enum class BatchOutcome {
    Completed, // every file done, the completion message shown
    Refused,   // a check failed before anything was written; its error box shown
    Failed,    // stopped at a file; the general error box shown
};

} // namespace quillet
