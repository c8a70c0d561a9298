#pragma once

#include "capture/capture_services.h"

class QWidget;

namespace quillet {

class TForm2;

// The capture options as the main window's controls hold them at this moment.
class WindowCaptureOptions : public CaptureOptions {
public:
    explicit WindowCaptureOptions(const QWidget& form) : form_(form) {}

    bool isChecked(std::string_view checkBoxName) const override;
    std::string edit4() const override;
    std::string edit5() const override;
    CaseOption caseOption() const override;

private:
    std::string editText(const char* name) const;
    bool isSelected(const char* radioName) const;

    const QWidget& form_;
};

// Ctrl+Y on the main window.
class WindowStateSwitch : public MainWindowState {
public:
    explicit WindowStateSwitch(QWidget& window) : window_(window) {}

    bool isNormal() const override;
    void minimize() override;
    void restoreAndActivate() override;

private:
    QWidget& window_;
};

// Status texts go to the notification window once there is one.
class NotificationWindowNotifier : public Notifier {
public:
    void setWindow(TForm2* window) { window_ = window; }
    void ShowNotification(std::string_view statusText) override;

private:
    TForm2* window_ = nullptr;
};

class ErrorBoxReporter : public FailureReporter {
public:
    explicit ErrorBoxReporter(QWidget& parent) : parent_(parent) {}
    void showGeneralError(std::string_view message) override;

private:
    QWidget& parent_;
};

// Today in the short date format of the user's locale.
class LocaleDateSource : public DateSource {
public:
    std::string todayShortDate() override;
};

// Blocks the user-interface thread, as the capture's fixed waits require.
class BlockingWaiter : public Waiter {
public:
    void sleepMs(int milliseconds) override;
};

} // namespace quillet
