#pragma once

#include "services/services.h"

#include <QElapsedTimer>

class QProgressBar;

namespace quillet {

// A page's progress bar. The batches keep the event loop waiting until they are done,
// so the bar paints itself instead of waiting for it: at once on the first change, then
// at most once a frame. A painting costs more than exporting a small file, and a bar
// painted for each of 10,000 files would slow the export down by half.
class RepaintingProgressBar : public ProgressBar {
public:
    explicit RepaintingProgressBar(QProgressBar& bar) : bar_(bar) {}

    void setMaximum(int maximum) override;
    void setPosition(int position) override;

private:
    void paint();

    QProgressBar& bar_;
    QElapsedTimer sincePainted_;
};

} // namespace quillet
