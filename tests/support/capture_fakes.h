#pragma once

#include "capture/capture_dispatch.h"
#include "capture/capture_table.h"
#include "support/fakes.h"

#include <map>
#include <string>
#include <vector>

namespace quillet::test {

// Fakes of everything a hot key touches; each records what happened, in order, in one log.
struct FakeWorld : Clipboard,
                   CopyKeystroke,
                   Waiter,
                   Notifier,
                   FailureReporter,
                   MainWindowState,
                   CaptureOptions,
                   HotKeySaver,
                   HotKeyService {
    std::vector<std::string> log;
    StringTextView view;
    ClipboardText clip{ClipboardText::Status::Text, "X"};
    FixedDate date;
    std::map<int, bool> enabled;
    std::string firstTag = "8", secondTag = "9";
    CaseOption caseOpt = CaseOption::Normal;
    bool normal = true;
    std::optional<std::string> saveStatus = "Datei gespeichert..";

    FakeWorld() {
        for (const CaptureRow& row : captureTable())
            enabled[row.id] = row.checkedAtStart;
    }

    ClipboardText readText() override {
        log.push_back("clipboard");
        return clip;
    }
    void sendCopyKeystroke() override { log.push_back("ctrl+c"); }
    void sleepMs(int ms) override { log.push_back("sleep " + std::to_string(ms)); }
    void showNotification(std::string_view text) override {
        log.push_back("notify '" + std::string(text) + "'");
    }
    void showGeneralError(std::string_view message) override {
        log.push_back("error '" + std::string(message) + "'");
    }
    bool isNormal() const override { return normal; }
    void minimize() override {
        normal = false;
        log.push_back("minimize");
    }
    void restoreAndActivate() override {
        normal = true;
        log.push_back("restore");
    }
    bool isHotKeyEnabled(int id) const override {
        const auto it = enabled.find(id);
        return it != enabled.end() && it->second;
    }
    std::string firstUserTag() const override { return firstTag; }
    std::string secondUserTag() const override { return secondTag; }
    CaseOption caseOption() const override { return caseOpt; }
    std::optional<std::string> saveFromHotKey() override {
        log.push_back("save");
        return saveStatus;
    }
    bool registerHotKey(int id, unsigned modifiers, unsigned key) override {
        log.push_back("register " + std::to_string(id) + " " + std::to_string(modifiers) + " " +
                      std::to_string(key));
        return true;
    }
    bool unregisterHotKey(int id) override {
        log.push_back("unregister " + std::to_string(id));
        return true;
    }

    CaptureServices services() {
        return {view, *this, *this, *this, date, *this, *this, *this, *this, *this};
    }
    void press(int id) {
        auto s = services();
        handleHotKey(id, s);
    }
};

} // namespace quillet::test
