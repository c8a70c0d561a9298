#pragma once

#include "capture/capture_services.h"
#include "document/save_document.h"
#include "text/services.h"

#include <QElapsedTimer>

class QProgressBar;
class QTabWidget;
class QWidget;

namespace quillet {

// The operations' own message boxes, with German captions and buttons.
class WindowMessageBoxes : public MessageBoxes {
public:
    explicit WindowMessageBoxes(QWidget& parent) : parent_(parent) {}

    void showError(std::string_view message) override;
    void showInformation(std::string_view message) override;
    bool askWarning(std::string_view question) override;

private:
    QWidget& parent_;
};

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

// A hot-key save without a save folder brings the window back and opens the page where
// the folder is set.
class ControlsPageSaveWindow : public SaveWindow {
public:
    ControlsPageSaveWindow(MainWindowState& window, QTabWidget& pages, QWidget& controlsPage)
        : window_(window), pages_(pages), controlsPage_(controlsPage) {}

    void restoreMainWindow() override;
    void showControlsPage() override;

private:
    MainWindowState& window_;
    QTabWidget& pages_;
    QWidget& controlsPage_;
};

} // namespace quillet
