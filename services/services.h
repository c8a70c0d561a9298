#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The small services every layer may need of the program around it. The program
// implements them with its windows; the command-line tool and the tests give their own.

class Waiter {
public:
    virtual ~Waiter() = default;
    virtual void sleepMs(int milliseconds) = 0;
};

// Blocks the calling thread for the time asked.
class SleepingWaiter final : public Waiter {
public:
    void sleepMs(int milliseconds) override;
};

class DateSource {
public:
    virtual ~DateSource() = default;
    // Today's date in the user's short date format, as Windows-1252 text.
    virtual std::string todayShortDate() = 0;
};

class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void showNotification(std::string_view statusText) = 0;
};

class FailureReporter {
public:
    virtual ~FailureReporter() = default;
    // The general error box: the message with a full stop added, the application title
    // as caption, an error icon and one "OK".
    virtual void showGeneralError(std::string_view message) = 0;
};

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

} // namespace quillet
