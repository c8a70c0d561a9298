#pragma once

#include <string_view>

namespace quillet {

// The message boxes that operations show on their own account. Texts are Windows-1252
// with CR LF line breaks.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Caption "Fehler", error icon, one "OK".
    virtual void showError(std::string_view message) = 0;
    // Caption "Information", information icon, one "OK".
    virtual void showInformation(std::string_view message) = 0;
    // Caption "Warnung", warning icon, "&Ja" and "&Nein"; true only for "&Ja".
    virtual bool askWarning(std::string_view question) = 0;
};

// A progress bar whose minimum is 0. The program repaints it on every change, because
// the batches do not return to the message loop until they are done.
class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void setPosition(int position) = 0;
};

// How a batch over a folder ended.
enum class BatchOutcome {
    Completed, // every file done, the completion message shown
    Refused,   // a check failed before anything was written; its error box shown
    Failed,    // stopped at a file; the general error box shown
};

} // namespace quillet
