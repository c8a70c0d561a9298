#pragma once

#include "capture/capture_dispatch.h"
#include "capture/capture_table.h"
#include "support/fakes.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace quillet::test {

// Fakes of everything a hot key touches; each records what happened, in order, in one log.
// Time is simulated: `now` counts the milliseconds waited since the key.
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
    // The program in front copies `clip` this long after the copy keystroke (never when
    // negative); until then the clipboard holds `old`.
    int copyAfterMs = 5;
    ClipboardText clip{ClipboardText::Status::Text, "X"};
    ClipboardText old{ClipboardText::Status::Text, "alt"};
    int now = 0;
    int copyAt = -1;
    Foreground front = Foreground::OtherProgram;
    std::set<int> heldElsewhere;
    std::set<int> missingKeys; // keys the keyboard lacks
    FixedDate date;
    std::map<int, bool> enabled;
    std::string firstTag = "8", secondTag = "9";
    CaseOption caseOpt = CaseOption::Normal;
    bool recordSource = false;
    bool normal = true;
    std::optional<std::string> saveStatus = "Datei gespeichert..";
    // The highlighted text: `highlight` under the mark `highlightAt` (0: none yet), read
    // without any key when `way` says so.
    CopyWay way = CopyWay::Keystroke;
    ClipboardText highlight{ClipboardText::Status::Text, "markiert"};
    ChangeMark highlightAt = 0;
    HighlightLedger highlights;

    FakeWorld() {
        for (const CaptureRow& row : captureTable())
            enabled[row.id] = row.checkedAtStart;
    }

    ChangeMark changeMark() override {
        log.push_back("mark");
        return 0;
    }
    bool waitForChange(ChangeMark, int timeoutMs) override {
        log.push_back("wait " + std::to_string(timeoutMs));
        const bool changes = copyAt >= 0 && copyAt <= now + timeoutMs;
        now = changes ? std::max(now, copyAt) : now + timeoutMs;
        return changes;
    }
    ClipboardText readText() override {
        log.push_back("clipboard");
        return copyAt >= 0 && copyAt <= now ? clip : old;
    }
    CopyWay copyWay() override { return way; }
    ChangeMark highlightMark() override {
        log.push_back("highlight mark");
        return highlightAt;
    }
    ClipboardText readHighlight() override {
        log.push_back("highlight");
        return highlight;
    }
    void sendCopyKeystroke() override {
        log.push_back("ctrl+c");
        if (copyAfterMs >= 0)
            copyAt = now + copyAfterMs;
    }
    void sleepMs(int ms) override {
        log.push_back("sleep " + std::to_string(ms));
        now += ms;
    }
    Foreground foreground() const override { return front; }
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
    bool recordSourceAddress() const override { return recordSource; }
    std::optional<std::string> saveFromHotKey() override {
        log.push_back("save");
        return saveStatus;
    }
    HotKeyResult registerHotKey(int id, unsigned modifiers, unsigned key) override {
        log.push_back("register " + std::to_string(id) + " " + std::to_string(modifiers) + " " +
                      std::to_string(key));
        if (missingKeys.count(id))
            return HotKeyResult::NoSuchKey;
        return heldElsewhere.count(id) ? HotKeyResult::Taken : HotKeyResult::Registered;
    }
    bool unregisterHotKey(int id) override {
        log.push_back("unregister " + std::to_string(id));
        return true;
    }

    CaptureServices services() {
        return {view, *this, *this, *this, date, *this, *this, *this, *this, *this, highlights};
    }
    void press(int id) {
        auto s = services();
        now = 0;
        copyAt = -1;
        handleHotKey(id, s);
    }
};

} // namespace quillet::test
