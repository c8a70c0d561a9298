#include "app/repainting_progress_bar.h"

#include <QProgressBar>

#include <algorithm>

namespace quillet {

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

} // namespace quillet
