#include "app/capture_adapters.h"

#include "app/message_boxes.h"
#include "app/notification_window.h"
#include "text/display_text.h"

#include <QCheckBox>
#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QThread>
#include <QWidget>

namespace quillet {

namespace {

template <typename Control> Control* controlNamed(const QWidget& form, std::string_view name) {
    return form.findChild<Control*>(QString::fromLatin1(name.data(), qsizetype(name.size())));
}

} // namespace

bool WindowCaptureOptions::isChecked(std::string_view checkBoxName) const {
    const QCheckBox* box = controlNamed<QCheckBox>(form_, checkBoxName);
    return box && box->isChecked();
}

std::string WindowCaptureOptions::editText(const char* name) const {
    const QLineEdit* edit = controlNamed<QLineEdit>(form_, name);
    return edit ? toDocumentText(edit->text()) : std::string();
}

std::string WindowCaptureOptions::edit4() const {
    return editText("Edit4");
}

std::string WindowCaptureOptions::edit5() const {
    return editText("Edit5");
}

bool WindowCaptureOptions::isSelected(const char* radioName) const {
    const QRadioButton* radio = controlNamed<QRadioButton>(form_, radioName);
    return radio && radio->isChecked();
}

CaseOption WindowCaptureOptions::caseOption() const {
    if (isSelected("RadioButton2"))
        return CaseOption::Upper;
    if (isSelected("RadioButton3"))
        return CaseOption::Lower;
    return CaseOption::Normal;
}

bool WindowStateSwitch::isNormal() const {
    return !(window_.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
}

void WindowStateSwitch::minimize() {
    window_.showMinimized();
}

void WindowStateSwitch::restoreAndActivate() {
    window_.setWindowState(window_.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    window_.show();
    window_.activateWindow();
    window_.raise();
}

void NotificationWindowNotifier::ShowNotification(std::string_view statusText) {
    if (window_)
        window_->ShowNotification(toDisplayText(statusText));
}

void ErrorBoxReporter::showGeneralError(std::string_view message) {
    quillet::showGeneralError(&parent_, toDisplayText(message));
}

std::string LocaleDateSource::todayShortDate() {
    return toDocumentText(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
}

void BlockingWaiter::sleepMs(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

} // namespace quillet
