// Time of one capture into a 10 MB document in Memo1, through the main window with the
// waits faked out, against the same capture done by replacing the whole text; then the
// "Textview" page's buttons on the same document, each clicked once. The recovery copy is
// kept as in the program, written right after each change: a capture's time includes
// taking the copy's snapshot on the window's thread, and the writer's own time is shown
// beside it. --no-copy leaves the copy out; --typing instead types into the document for
// a few seconds and shows the longest time the window could not respond.
//   memo-capture-bench [megabytes] [captures] [--no-copy] [--typing]
#include "app/document_recovery.h"
#include "app/look.h"
#include "app/main_window.h"
#include "app/textview_page.h"
#include "capture/tagged_insertion.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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

DocumentRecovery* recovery = nullptr;
double copyMs = 0; // the writer's time after the runs, waited for outside the timing

double msPerRun(int runs, const std::function<void()>& run) {
    QElapsedTimer timer, copy;
    qint64 total = 0;
    copyMs = 0;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        run();
        QCoreApplication::processEvents();
        total += timer.nsecsElapsed();
        copy.start();
        if (recovery)
            recovery->writeNow();
        copyMs += double(copy.nsecsElapsed()) / 1e6 / runs;
    }
    return double(total) / 1e6 / runs;
}

// Types one letter every 50 ms for five seconds, near the end of the document, while a
// 5 ms tick measures how long the window was kept from its events.
void typeIntoDocument(QPlainTextEdit& memo) {
    QElapsedTimer clock, sinceTick;
    qint64 longest = 0, total = 0;
    int ticks = 0, letters = 0;
    QTimer tick, key;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed());
        total += sinceTick.nsecsElapsed();
        ++ticks;
        sinceTick.start();
    });
    QObject::connect(&key, &QTimer::timeout, [&] {
        QTextCursor cursor = memo.textCursor();
        cursor.insertText(QString(QChar(u'a' + letters++ % 26)));
    });
    QTextCursor cursor = memo.textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::PreviousBlock);
    memo.setTextCursor(cursor);
    clock.start();
    sinceTick.start();
    tick.start(5);
    key.start(50);
    while (clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QElapsedTimer last;
    last.start();
    if (recovery)
        recovery->writeNow();
    std::printf("typing %d letters in 5 s: longest stall %.0f ms, mean tick %.1f ms (asked: 5 ms); "
                "last copy done %.0f ms after the typing\n",
                letters, double(longest) / 1e6, double(total) / 1e6 / std::max(ticks, 1),
                double(last.nsecsElapsed()) / 1e6);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(windowFont());
    const long megabytes = argc > 1 ? std::atol(argv[1]) : 10;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 20;
    bool keepCopy = true, typing = false;
    for (int i = 3; i < argc; ++i) {
        keepCopy = keepCopy && std::strcmp(argv[i], "--no-copy") != 0;
        typing = typing || std::strcmp(argv[i], "--typing") == 0;
    }

    NoWait noWait;
    QTemporaryDir copyFolder;
    MainWindow form({[](QWidget&) { return std::make_unique<BenchBackend>(); }, &noWait, nullptr,
                     nullptr, keepCopy ? copyFolder.path() : QString()});
    form.findChild<QCheckBox*>("CheckBox12")->setChecked(true);
    form.show();
    form.startRecovery();
    recovery = form.recovery();
    auto* memo = form.findChild<QPlainTextEdit*>("Memo1");
    TextView& view = form.textviewPage().document();
    WholeTextMemo whole(*memo);

    const std::string doc = makeDocument(std::size_t(megabytes) * 1000 * 1000);
    QElapsedTimer load;
    load.start();
    view.setText(doc);
    QCoreApplication::processEvents();
    std::printf("platform %s, document %zu bytes, loaded in %.0f ms, %d captures each, %s\n",
                qPrintable(QGuiApplication::platformName()), doc.size(),
                double(load.nsecsElapsed()) / 1e6, runs,
                keepCopy ? "recovery copy written after each change" : "no recovery copy");
    if (recovery) {
        recovery->writeNow();
        recovery->setDelay(0);
    }
    if (typing) {
        if (recovery)
            recovery->setDelay(200);
        typeIntoDocument(*memo);
        return 0;
    }

    const double merge = msPerRun(runs, [&] { form.handleHotKey(4); });
    const double mergeCopy = copyMs;
    const double section = msPerRun(runs, [&] { form.handleHotKey(1); });
    const double sectionCopy = copyMs;
    const double untagged = msPerRun(runs, [&] { form.handleHotKey(11); });
    const double untaggedCopy = copyMs;
    recovery = nullptr; // the whole-text way is the comparison, without a copy
    const std::string clip = "Ein neuer Satz mit Umlauten: \xE4\xF6\xFC.";
    const double wholeMerge =
        msPerRun(runs, [&] { insertTagged(whole, "TEXT", clip, CaseOption::Normal); });
    const double wholeAppend = msPerRun(runs, [&] {
        appendLine(whole, clip);
        appendLine(whole, "");
    });

    std::printf("%-40s %10s %14s %16s\n", "capture (waits faked out)", "edit ms", "whole text ms",
                "copy writer ms");
    std::printf("%-40s %10.2f %14.2f %16.1f\n", "F4 merge before the last {/TEXT}", merge,
                wholeMerge, mergeCopy);
    std::printf("%-40s %10.2f %14s %16.1f\n", "F1 merge into the first section", section, "-",
                sectionCopy);
    std::printf("%-40s %10.2f %14.2f %16.1f\n", "key 0 untagged append", untagged, wholeAppend,
                untaggedCopy);
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
