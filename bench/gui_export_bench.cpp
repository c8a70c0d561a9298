// The "TEXTtoXML" page's export as the user runs it: the main window shown on the
// offscreen platform, the source and target folders chosen through the folder buttons,
// then a click on "Transform tagged Textfiles to XML". Prints the seconds from the
// source folder's choice (which reads the list) to the completion box.
//   quillet-gui-export-bench SOURCE TARGET
#include "app/folder_dialog.h"
#include "app/main_window.h"
#include "app/message_boxes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <cstdio>
#include <deque>
#include <utility>

using namespace quillet;

namespace {

class GivenFolders : public FolderChooser {
public:
    explicit GivenFolders(std::deque<QString> folders) : folders_(std::move(folders)) {}
    QString selectFolder() override {
        QString folder = folders_.empty() ? QString() : folders_.front();
        if (!folders_.empty())
            folders_.pop_front();
        return folder;
    }

private:
    std::deque<QString> folders_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: quillet-gui-export-bench SOURCE TARGET\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet d1401 (2009)"));
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);

    GivenFolders folders({source, target});
    MainWindow form(
        {[](QWidget& window) { return makeNoneBackend(window); }, nullptr, nullptr, &folders});
    form.show();
    form.pages().setCurrentIndex(2); // "TEXTtoXML", so that the progress bar paints
    QApplication::processEvents();

    MessageBoxHook boxes; // answers the completion box, and records what it said
    QElapsedTimer timer;
    timer.start();
    form.findChild<QToolButton*>(QStringLiteral("SpeedButton3"))->click();
    form.findChild<QToolButton*>(QStringLiteral("SpeedButton4"))->click();
    form.findChild<QPushButton*>(QStringLiteral("Button5"))->click();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

    const bool done = boxes.shown().size() == 1 && boxes.shown()[0].caption == "Information";
    for (const ShownBox& box : boxes.shown())
        std::fprintf(done ? stdout : stderr, "%s: %s\n", qPrintable(box.caption),
                     qPrintable(box.text));
    std::printf("gui export: %.3f s\n", seconds);
    return done ? 0 : 1;
}
