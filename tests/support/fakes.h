#pragma once

// Fakes of the program's side for the folder and document operations. Each writes what
// it is asked to do into one shared event log, so that tests can check the order.

#include "document/save_document.h"
#include "files/file_system.h"
#include "services/services.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillet::test {

using EventLog = std::vector<std::string>;

struct FakeBoxes : MessageBoxes {
    explicit FakeBoxes(EventLog& log) : log(log) {}
    void showError(std::string_view m) override { log.push_back("error: " + std::string(m)); }
    void showInformation(std::string_view m) override {
        log.push_back("information: " + std::string(m));
    }
    bool askWarning(std::string_view q) override {
        log.push_back("warning: " + std::string(q));
        return answerYes;
    }
    EventLog& log;
    bool answerYes = false;
};

struct FakeFailures : FailureReporter {
    explicit FakeFailures(EventLog& log) : log(log) {}
    void showGeneralError(std::string_view m) override {
        log.push_back("failure: " + std::string(m));
    }
    EventLog& log;
};

struct FakeNotifier : Notifier {
    explicit FakeNotifier(EventLog& log) : log(log) {}
    void showNotification(std::string_view t) override {
        log.push_back("notification: " + std::string(t));
    }
    EventLog& log;
};

struct FakeProgress : ProgressBar {
    explicit FakeProgress(EventLog& log) : log(log) {}
    void setMaximum(int m) override {
        maximum = m;
        log.push_back("maximum " + std::to_string(m));
    }
    void setPosition(int p) override {
        position = p;
        log.push_back("position " + std::to_string(p));
    }
    EventLog& log;
    int maximum = -1;
    int position = -1;
};

// Today, always the same day, in the German short format unless a test says otherwise.
struct FixedDate : DateSource {
    std::string todayShortDate() override { return date; }
    std::string date = "07.12.2026";
};

struct FakeSaveWindow : SaveWindow {
    explicit FakeSaveWindow(EventLog& log) : log(log) {}
    void restoreMainWindow() override { log.push_back("restore"); }
    void showControlsPage() override { log.push_back("controls page"); }
    EventLog& log;
};

// Events of one kind only, in order: "failure: ...", "error: ...", and so on.
inline std::vector<std::string> eventsStartingWith(const EventLog& log, std::string_view prefix) {
    std::vector<std::string> out;
    for (const std::string& e : log)
        if (e.starts_with(prefix))
            out.push_back(e);
    return out;
}

// Files by their names' bytes, so that tests can make names that are not UTF-8.
inline void writeBytes(const NativePath& path, std::string_view bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot write test file " + path);
}

inline std::string readBytes(const NativePath& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f)
        return "<missing>";
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Every name in a folder, hidden ones included, as bytes, sorted: to see that nothing was
// left over.
inline std::vector<std::string> folderContents(const NativePath& folder) {
    std::vector<std::string> out;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(fsPath(folder), error)) {
        const std::u8string name = entry.path().filename().u8string();
        out.emplace_back(name.begin(), name.end());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// A path as the tests name it; on the systems the tests run on, the same bytes.
inline const NativePath& native(const NativePath& path) {
    return path;
}

inline const std::string& path8(const NativePath& path) {
    return path;
}

} // namespace quillet::test
