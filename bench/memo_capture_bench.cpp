// Time of one capture into a 10 MB document in Memo1, through the main window with the
// waits faked out, against the same capture done by replacing the whole text; then the
// "Textview" page's buttons on the same document, each clicked once.
//   memo-capture-bench [megabytes] [captures]
#include "app/look.h"
#include "app/main_window.h"
#include "app/textview_page.h"
#include "capture/tagged_insertion.h"
#include "text/display_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace quillet;

namespace {

class BenchBackend : public PlatformBackend {
public:
    bool hasSystemHotKeys() const override { return true; }
    void setHotKeyHandler(HotKeyHandler) override {}
    bool registerHotKey(int, unsigned, unsigned) override { return true; }
    bool unregisterHotKey(int) override { return true; }
    bool isOwnWindowInFront() const override { return false; }
    void sendCopyKeystroke() override {}
    ChangeMark changeMark() override { return 0; }
    bool waitForChange(ChangeMark, int) override { return true; }
    ClipboardText readText() override {
        return {ClipboardText::Status::Text, "Ein neuer Satz mit Umlauten: \xE4\xF6\xFC."};
    }
};

class NoWait : public Waiter {
public:
    void sleepMs(int) override {}
};

// The whole-text way: read everything, change it, write everything back.
class WholeTextMemo : public TextView {
public:
    explicit WholeTextMemo(QPlainTextEdit& memo) : memo_(memo) {}
    std::string text() const override { return toDocumentText(memo_.document()->toRawText()); }
    void setText(std::string_view text) override { memo_.setPlainText(toDisplayText(text)); }

private:
    QPlainTextEdit& memo_;
};

// Sections of several tags, the TEXT section last, so a merge searches nearly all of it.
std::string makeDocument(std::size_t bytes) {
    const char* tags[] = {"TITEL", "AUTOR", "QUELLE", "MEDIUM", "THEMA"};
    const std::string sentence = "Dies ist ein Satz aus dem Korpus mit Stra\xDF"
                                 "e, M\xFCller und \x80. ";
    std::string doc;
    doc.reserve(bytes + 1024);
    for (std::size_t i = 0; doc.size() < bytes; ++i) {
        const std::string tag = tags[i % 5];
        doc += "{" + tag + "}";
        for (int k = 0; k < 8; ++k)
            doc += sentence;
        doc += "{/" + tag + "}\r\n\r\n";
    }
    doc += "{TEXT}Der Text.{/TEXT}\r\n\r\n";
    return doc;
}

double msPerRun(int runs, const std::function<void()>& run) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i) {
        run();
        QCoreApplication::processEvents();
    }
    return double(timer.nsecsElapsed()) / 1e6 / runs;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(windowFont());
    const long megabytes = argc > 1 ? std::atol(argv[1]) : 10;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 20;

    NoWait noWait;
    MainWindow form({[](QWidget&) { return std::make_unique<BenchBackend>(); }, &noWait});
    form.findChild<QCheckBox*>("CheckBox12")->setChecked(true);
    form.show();
    auto* memo = form.findChild<QPlainTextEdit*>("Memo1");
    TextView& view = form.textviewPage().document();
    WholeTextMemo whole(*memo);

    const std::string doc = makeDocument(std::size_t(megabytes) * 1000 * 1000);
    QElapsedTimer load;
    load.start();
    view.setText(doc);
    QCoreApplication::processEvents();
    std::printf("platform %s, document %zu bytes, loaded in %.0f ms, %d captures each\n",
                qPrintable(QGuiApplication::platformName()), doc.size(),
                double(load.nsecsElapsed()) / 1e6, runs);

    const double merge = msPerRun(runs, [&] { form.handleHotKey(4); });
    const double section = msPerRun(runs, [&] { form.handleHotKey(1); });
    const double untagged = msPerRun(runs, [&] { form.handleHotKey(11); });
    const std::string clip = "Ein neuer Satz mit Umlauten: \xE4\xF6\xFC.";
    const double wholeMerge =
        msPerRun(runs, [&] { insertTagged(whole, "TEXT", clip, CaseOption::Normal); });
    const double wholeAppend = msPerRun(runs, [&] {
        appendLine(whole, clip);
        appendLine(whole, "");
    });

    std::printf("%-40s %10s %14s\n", "capture (waits faked out)", "edit ms", "whole text ms");
    std::printf("%-40s %10.2f %14.2f\n", "F4 merge before the last {/TEXT}", merge, wholeMerge);
    std::printf("%-40s %10.2f %14s\n", "F1 merge into the first section", section, "-");
    std::printf("%-40s %10.2f %14.2f\n", "key 0 untagged append", untagged, wholeAppend);
    std::printf("document now %zu bytes\n", view.text().size());

    // Each button once on the document as it stands after the captures; the time includes
    // reading Memo1, the routine, and showing the result.
    const auto click = [&](const char* name, const char* label) {
        const std::size_t before = view.text().size();
        const double ms = msPerRun(1, [&] { form.findChild<QPushButton*>(name)->click(); });
        std::printf("%-40s %10.0f ms  (%zu -> %zu bytes)\n", label, ms, before, view.text().size());
    };
    click("Button6", "Clean");
    click("Button4", "Sort Tags");
    QTemporaryDir saveFolder;
    form.findChild<QLineEdit*>("Edit1")->setText(saveFolder.path());
    click("Button1", "Save and New");
    for (const QFileInfo& saved : QDir(saveFolder.path()).entryInfoList(QDir::Files))
        std::printf("%-40s %10lld bytes\n", qPrintable(saved.fileName()), saved.size());
    view.setText(doc);
    click("Button2", "Clear");
    return 0;
}
