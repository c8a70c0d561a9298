#include "app/operation_adapters.h"

#include "app/message_boxes.h"
#include "text/display_text.h"

#include <QProgressBar>
#include <QTabWidget>

#include <algorithm>

namespace quillet {

void WindowMessageBoxes::showError(std::string_view message) {
    messageDlg(&parent_, toDisplayText(message), BoxKind::Error, {BoxButton::Ok});
}

void WindowMessageBoxes::showInformation(std::string_view message) {
    messageDlg(&parent_, toDisplayText(message), BoxKind::Information, {BoxButton::Ok});
}

bool WindowMessageBoxes::askWarning(std::string_view question) {
    return messageDlg(&parent_, toDisplayText(question), BoxKind::Warning,
                      {BoxButton::Yes, BoxButton::No}) == BoxButton::Yes;
}

void RepaintingProgressBar::setMaximum(int maximum) {
    // Qt draws a range of 0 to 0 as a busy indicator that never stops; an empty batch
    // should show an empty bar.
    maximum = std::max(maximum, 1);
    if (maximum == bar_.maximum())
        return;
    bar_.setMaximum(maximum);
    paint();
}

void RepaintingProgressBar::setPosition(int position) {
    if (position == bar_.value())
        return;
    bar_.setValue(position);
    paint();
}

void RepaintingProgressBar::paint() {
    constexpr qint64 frameMs = 16;
    // The last state between two frames is painted when the event loop runs again.
    bar_.update();
    if (sincePainted_.isValid() && sincePainted_.elapsed() < frameMs)
        return;
    bar_.repaint();
    sincePainted_.start();
}

void ControlsPageSaveWindow::restoreMainWindow() {
    window_.restoreAndActivate();
}

void ControlsPageSaveWindow::showControlsPage() {
    pages_.setCurrentWidget(&controlsPage_);
}

} // namespace quillet
