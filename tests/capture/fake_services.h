#pragma once

#include "capture/capture_dispatch.h"

#include <map>
#include <string>
#include <vector>

namespace quillet::test {

// Fakes of everything a hot key touches; each records what happened, in order, in one log.
struct FakeWorld : Clipboard,
                   CopyKeystroke,
                   Waiter,
                   DateSource,
                   Notifier,
                   FailureReporter,
                   MainWindowState,
                   CaptureOptions,
                   HotKeySaver,
                   HotKeyService {
    std::vector<std::string> log;
    StringTextView view;
    ClipboardText clip{ClipboardText::Status::Text, "X"};
    std::string today = "07.12.2026";
    std::map<std::string, bool, std::less<>> boxes;
    std::string edit4Text = "8", edit5Text = "9";
    CaseOption caseOpt = CaseOption::Normal;
    bool normal = true;
    std::optional<std::string> saveStatus = "Datei gespeichert..";

    FakeWorld() {
        for (const char* name : {"CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6",
                                 "CheckBox7", "CheckBox8", "CheckBox9", "CheckBox13", "CheckBox14",
                                 "CheckBox15", "CheckBox16", "CheckBox18"})
            boxes[name] = true;
        for (const char* name : {"CheckBox10", "CheckBox11", "CheckBox12"})
            boxes[name] = false;
    }

    ClipboardText readText() override {
        log.push_back("clipboard");
        return clip;
    }
    void sendCopyKeystroke() override { log.push_back("ctrl+c"); }
    void sleepMs(int ms) override { log.push_back("sleep " + std::to_string(ms)); }
    std::string todayShortDate() override { return today; }
    void ShowNotification(std::string_view text) override {
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
    bool isChecked(std::string_view box) const override {
        const auto it = boxes.find(box);
        return it != boxes.end() && it->second;
    }
    std::string edit4() const override { return edit4Text; }
    std::string edit5() const override { return edit5Text; }
    CaseOption caseOption() const override { return caseOpt; }
    std::optional<std::string> saveFromHotKey() override {
        log.push_back("save");
        return saveStatus;
    }
    bool RegisterHotKey(int id, unsigned modifiers, unsigned key) override {
        log.push_back("register " + std::to_string(id) + " " + std::to_string(modifiers) + " " +
                      std::to_string(key));
        return true;
    }
    bool UnregisterHotKey(int id) override {
        log.push_back("unregister " + std::to_string(id));
        return true;
    }

    CaptureServices services() {
        return {view, *this, *this, *this, *this, *this, *this, *this, *this, *this};
    }
    void press(int id) {
        auto s = services();
        WMHotKey(id, s);
    }
};

} // namespace quillet::test
