#pragma once

#include "app/main_window.h"
#include "platform/platform.h"
#include "support/fakes.h"

#include <QStringList>

#include <deque>
#include <memory>
#include <string>

namespace quillet::test {

// What the fakes saw, in order, shared by everything one window test touches.
struct Journal {
    QStringList calls;
    ClipboardText clip{ClipboardText::Status::Text, "X"};
    bool systemHotKeys = true;
    bool ownWindowInFront = false;
    QList<int> heldElsewhere; // keys another program holds
    QList<int> missingKeys;   // keys the keyboard lacks
    PlatformBackend::HotKeyHandler handler;
    PlatformBackend::NoticeHandler notice;

    QStringList take() {
        QStringList out;
        out.swap(calls);
        return out;
    }
};

class FakeBackend : public PlatformBackend {
public:
    explicit FakeBackend(Journal& journal) : journal_(journal) {}

    bool hasSystemHotKeys() const override { return journal_.systemHotKeys; }
    void setHotKeyHandler(HotKeyHandler handler) override { journal_.handler = std::move(handler); }
    void setNoticeHandler(NoticeHandler handler) override { journal_.notice = std::move(handler); }
    HotKeyResult registerHotKey(int id, unsigned modifiers, unsigned key) override {
        journal_.calls
            << QStringLiteral("register %1 %2 0x%3").arg(id).arg(modifiers).arg(key, 0, 16);
        if (journal_.missingKeys.contains(id))
            return HotKeyResult::NoSuchKey;
        return journal_.heldElsewhere.contains(id) ? HotKeyResult::Taken : HotKeyResult::Registered;
    }
    bool unregisterHotKey(int id) override {
        journal_.calls << QStringLiteral("unregister %1").arg(id);
        return true;
    }
    bool isOwnWindowInFront() const override { return journal_.ownWindowInFront; }
    void sendCopyKeystroke() override { journal_.calls << QStringLiteral("ctrl+c"); }
    // The copy always lands at once; the core's tests cover the waits.
    ChangeMark changeMark() override { return 0; }
    bool waitForChange(ChangeMark, int) override { return true; }
    ClipboardText readText() override {
        journal_.calls << QStringLiteral("clipboard");
        return journal_.clip;
    }

private:
    Journal& journal_;
};

class FakeWaiter : public Waiter {
public:
    explicit FakeWaiter(Journal& journal) : journal_(journal) {}
    void sleepMs(int ms) override { journal_.calls << QStringLiteral("sleep %1").arg(ms); }

private:
    Journal& journal_;
};

// Answers the folder dialog from a script, in order; an empty text is a cancel.
class ScriptedFolders : public FolderChooser {
public:
    QString selectFolder() override {
        ++asked;
        if (answers.empty())
            return {};
        QString folder = answers.front();
        answers.pop_front();
        return folder;
    }
    std::deque<QString> answers;
    int asked = 0;
};

// A main window on fakes: no real hot keys, no real waits, no real folder dialog; a
// recovery copy only in the folder given.
struct FakeWindow {
    Journal journal;
    FakeWaiter waiter{journal};
    FixedDate date;
    ScriptedFolders folders;
    std::unique_ptr<MainWindow> form;

    explicit FakeWindow(const QString& recoveryFolder = {}) {
        form = std::make_unique<MainWindow>(MainWindow::Environment{
            [this](QWidget&) { return std::make_unique<FakeBackend>(journal); }, &waiter, &date,
            &folders, recoveryFolder});
    }

    // The hot key as the backend delivers it.
    void press(int id) { journal.handler(id); }
};

} // namespace quillet::test
