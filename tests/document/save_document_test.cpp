#include "document/clean_text.h"
#include "document/save_document.h"
#include "support/fakes.h"
#include "support/small_disk.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using namespace test;

struct SaveFixture : testing::Test {
    TempFolder dir;
    EventLog log;
    StringTextView view{"{TITEL}t{/TITEL}\r\n\r\n"};
    FakeNotifier notifier{log};
    FakeBoxes boxes{log};
    FakeFailures failures{log};
    FixedDate date;
    FakeSaveWindow window{log};
    SaveServices services{view, notifier, boxes, failures, date, window};
    SaveSettings settings{dir.path(), "MEDIENNAME_QUELLE", false, true};

    NativePath file(const std::string& name) const { return dir.path() + "/" + name; }
    SaveResult save(SaveMode mode) { return saveDocument(mode, settings, services); }
};

struct NumberCase {
    const char* name;
    std::vector<const char*> existingFiles;
    std::vector<const char*> existingFolders;
    bool addDate;
    const char* date;
    const char* expected;
};

// clang-format off
const NumberCase numberCases[] = {
    {"FirstIsZero", {}, {}, false, "", "MEDIENNAME_QUELLE_0.txt"},
    {"NextAfterTwo", {"MEDIENNAME_QUELLE_0.txt", "MEDIENNAME_QUELLE_1.txt"}, {}, false, "", "MEDIENNAME_QUELLE_2.txt"},
    {"GapIsFilled", {"MEDIENNAME_QUELLE_0.txt", "MEDIENNAME_QUELLE_2.txt"}, {}, false, "", "MEDIENNAME_QUELLE_1.txt"},
    {"OtherNamesDoNotCount", {"MEDIENNAME_QUELLE_0.TXT", "MEDIENNAME_QUELLE_00.txt", "X_0.txt"}, {}, false, "", "MEDIENNAME_QUELLE_0.txt"},
    {"DateBeforeNumber", {}, {}, true, "07.12.2026", "MEDIENNAME_QUELLE07.12.2026_0.txt"},
    {"DatedAndUndatedApart", {"MEDIENNAME_QUELLE_0.txt"}, {}, true, "07.12.2026", "MEDIENNAME_QUELLE07.12.2026_0.txt"},
    {"SlashesInDateReplaced", {}, {}, true, "12/7/2026", "MEDIENNAME_QUELLE12-7-2026_0.txt"},
    {"EveryForbiddenCharacter", {}, {}, true, "a/b\\c:d*e?f\"g<h>i|j", "MEDIENNAME_QUELLEa-b-c-d-e-f-g-h-i-j_0.txt"},
    {"FolderOfLaterNumberIgnored", {"MEDIENNAME_QUELLE_0.txt"}, {"MEDIENNAME_QUELLE_2.txt"}, false, "", "MEDIENNAME_QUELLE_1.txt"},
};
// clang-format on

class SaveNumbering : public SaveFixture, public testing::WithParamInterface<NumberCase> {};

TEST_P(SaveNumbering, TakesTheSmallestFreeNumber) {
    const NumberCase& c = GetParam();
    for (const char* name : c.existingFiles)
        writeBytes(file(name), "old");
    for (const char* name : c.existingFolders)
        ASSERT_TRUE(makeFolder(file(name)));
    settings.addDate = c.addDate;
    date.date = c.date;

    const SaveResult result = save(SaveMode::Button);

    EXPECT_EQ(result.outcome, SaveOutcome::Saved);
    EXPECT_EQ(path8(result.path), path8(file(c.expected)));
    EXPECT_EQ(readBytes(file(c.expected)), "{TITEL}t{/TITEL}\r\n\r\n");
    for (const char* name : c.existingFiles)
        EXPECT_EQ(readBytes(file(name)), "old") << name;
    EXPECT_EQ(view.str(), "");
    EXPECT_EQ(log, EventLog{});
}

INSTANTIATE_TEST_SUITE_P(Rows, SaveNumbering, testing::ValuesIn(numberCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaveFixture, BaseNameNeverLeadsOutOfTheFolder) {
    const NativePath folder = dir.path() + "/a/b";
    ASSERT_TRUE(makeFolders(folder));
    settings.folder = folder;
    const struct {
        const char* baseName;
        const char* saved;
    } rows[] = {
        {"../../x", "..-..-x_0.txt"},
        {"..\\x", "..-x_0.txt"},
        {"/tmp/x", "-tmp-x_0.txt"},
        {"a:b*c?d\"e<f>g|h\ti", "a-b-c-d-e-f-g-h-i_0.txt"},
    };
    for (const auto& row : rows) {
        settings.baseName = row.baseName;
        view.setText("x");
        EXPECT_EQ(path8(save(SaveMode::Button).path), path8(folder + "/" + row.saved))
            << row.baseName;
    }
    EXPECT_EQ(folderContents(folder).size(), std::size(rows));
    EXPECT_EQ(folderContents(dir.path()), std::vector<std::string>{"a"});
    EXPECT_EQ(folderContents(dir.path() + "/a"), std::vector<std::string>{"b"});
}

TEST_F(SaveFixture, TwoSavesAndADeletionReuseNumberZero) {
    for (const char* text : {"a", "b"}) {
        view.setText(text);
        save(SaveMode::Button);
    }
    EXPECT_EQ(readBytes(file("MEDIENNAME_QUELLE_0.txt")), "a");
    EXPECT_EQ(readBytes(file("MEDIENNAME_QUELLE_1.txt")), "b");
    removeName(file("MEDIENNAME_QUELLE_0.txt"));
    view.setText("c");
    EXPECT_EQ(path8(save(SaveMode::Button).path), path8(file("MEDIENNAME_QUELLE_0.txt")));
    EXPECT_EQ(readBytes(file("MEDIENNAME_QUELLE_0.txt")), "c");
}

TEST_F(SaveFixture, FolderTextEndingInSeparatorGetsAnotherOne) {
    settings.folder = dir.path() + "/";
    const SaveResult result = save(SaveMode::Button);
    EXPECT_EQ(path8(result.path), path8(dir.path() + "//MEDIENNAME_QUELLE_0.txt"));
    EXPECT_EQ(readBytes(file("MEDIENNAME_QUELLE_0.txt")), "{TITEL}t{/TITEL}\r\n\r\n");
}

TEST_F(SaveFixture, FolderNamedLikeTheCandidateIsReportedNotSkipped) {
    ASSERT_TRUE(makeFolder(file("MEDIENNAME_QUELLE_0.txt")));
    const SaveResult result = save(SaveMode::Button);
    EXPECT_EQ(result.outcome, SaveOutcome::CannotCreate);
    EXPECT_EQ(log, EventLog{"failure: Datei " + path8(file("MEDIENNAME_QUELLE_0.txt")) +
                            " kann nicht erstellt werden"});
    EXPECT_EQ(view.str(), "{TITEL}t{/TITEL}\r\n\r\n");
}

TEST_F(SaveFixture, AllNumbersTakenUsesTheLastAndNeverOverwritesIt) {
    for (int n = 0; n <= 10000; ++n)
        writeBytes(savePath(dir.path(), "M", n), "");
    settings.baseName = "M";
    SaveResult result = save(SaveMode::Button);
    EXPECT_EQ(path8(result.path), path8(file("M_10001.txt")));
    EXPECT_EQ(readBytes(file("M_10001.txt")), "{TITEL}t{/TITEL}\r\n\r\n");

    view.setText("second");
    result = save(SaveMode::Button);
    EXPECT_EQ(result.outcome, SaveOutcome::CannotCreate);
    EXPECT_EQ(eventsStartingWith(log, "failure"),
              std::vector<std::string>{"failure: Datei " + path8(file("M_10001.txt")) +
                                       " kann nicht erstellt werden"});
    EXPECT_EQ(readBytes(file("M_10001.txt")), "{TITEL}t{/TITEL}\r\n\r\n");
    EXPECT_EQ(view.str(), "second");
}

TEST_F(SaveFixture, DanglingLinkIsSkippedNotFollowed) {
    const NativePath outside = dir.path() + "/elsewhere";
    ASSERT_TRUE(makeLink(outside, file("MEDIENNAME_QUELLE_0.txt")));
    EXPECT_EQ(path8(save(SaveMode::Button).path), path8(file("MEDIENNAME_QUELLE_1.txt")));
    EXPECT_FALSE(exists(outside));
}

TEST_F(SaveFixture, EmptyTextSavesNothing) {
    view.setText("");
    EXPECT_EQ(save(SaveMode::Button).statusText, "");
    EXPECT_EQ(log, EventLog{"notification: Kein Text zum Speichern.."});
    log.clear();
    const SaveResult hotKey = save(SaveMode::HotKey);
    EXPECT_EQ(hotKey.statusText, "Kein Text zum Speichern..");
    EXPECT_EQ(log, EventLog{});
    EXPECT_EQ(folderContents(dir.path()), std::vector<std::string>{});
}

TEST_F(SaveFixture, MissingFolderInEitherMode) {
    for (const NativePath& folder : {NativePath(), dir.path() + "/missing", file("plain")}) {
        writeBytes(file("plain"), "");
        settings.folder = folder;
        log.clear();
        EXPECT_EQ(save(SaveMode::Button).outcome, SaveOutcome::FolderMissing);
        EXPECT_EQ(log, EventLog{"error: Speicherpfad existiert nicht!"});
        log.clear();
        const SaveResult hotKey = save(SaveMode::HotKey);
        EXPECT_EQ(hotKey.statusText, "");
        EXPECT_EQ(log,
                  (EventLog{"restore", "error: Speicherpfad existiert nicht!", "controls page"}));
        EXPECT_EQ(view.str(), "{TITEL}t{/TITEL}\r\n\r\n");
    }
}

TEST_F(SaveFixture, OnlyTheHotKeyCleans) {
    const std::string text = "Zei-\r\nle eins\r\nzwei  drei\r\n\r\nneu";
    struct Row {
        const char* name;
        SaveMode mode;
        bool clean;
        std::string input;
        std::string expected;
    };
    const Row rows[] = {
        {"Button", SaveMode::Button, true, text, text},
        {"HotKeyCleaning", SaveMode::HotKey, true, text, cleanText(text)},
        {"HotKeyNotCleaning", SaveMode::HotKey, false, text, text},
        {"ButtonOneLineBreak", SaveMode::Button, true, "\r\n", "\r\n"},
        {"HotKeyOneLineBreak", SaveMode::HotKey, true, "\r\n", " "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        removeName(file("MEDIENNAME_QUELLE_0.txt"));
        view.setText(row.input);
        settings.cleanBeforeSaving = row.clean;
        const SaveResult result = save(row.mode);
        EXPECT_EQ(result.statusText, row.mode == SaveMode::HotKey ? "Datei gespeichert.." : "");
        EXPECT_EQ(readBytes(file("MEDIENNAME_QUELLE_0.txt")), row.expected);
        EXPECT_EQ(view.str(), "");
    }
}

TEST_F(SaveFixture, CreationFailureKeepsTheCleanedText) {
    settings.baseName = std::string(300, 'x'); // longer than a file name may be
    view.setText("a\r\nb");
    const SaveResult result = save(SaveMode::HotKey);
    EXPECT_EQ(result.outcome, SaveOutcome::CannotCreate);
    EXPECT_EQ(result.statusText, "");
    EXPECT_EQ(log,
              EventLog{"failure: Datei " + path8(result.path) + " kann nicht erstellt werden"});
    EXPECT_EQ(view.str(), "a b");
    EXPECT_EQ(folderContents(dir.path()), std::vector<std::string>{});
}

TEST_F(SaveFixture, FullDiskLeavesNoPartialFile) {
    SmallDisk disk(64);
    QUILLET_SKIP_WITHOUT(disk);
    settings.folder = disk.path();
    const std::string big(200 * 1024, 'x');
    view.setText(big);
    const SaveResult result = save(SaveMode::Button);
    EXPECT_EQ(result.outcome, SaveOutcome::CannotCreate);
    EXPECT_EQ(eventsStartingWith(log, "failure").size(), 1u);
    EXPECT_EQ(folderContents(disk.path()), std::vector<std::string>{});
    EXPECT_EQ(view.str(), big);
}

struct FixedSettings : SaveSettingsSource {
    SaveSettings saveSettings() const override { return settings; }
    SaveSettings settings;
};

TEST_F(SaveFixture, SaverReadsTheOptionsAtEachSave) {
    FixedSettings source;
    source.settings = settings;
    DocumentSaver saver(source, services);
    HotKeySaver& hotKey = saver;
    EXPECT_EQ(hotKey.saveFromHotKey(), std::optional<std::string>("Datei gespeichert.."));
    source.settings.baseName = "other";
    view.setText("x");
    saver.saveFromButton();
    EXPECT_EQ(readBytes(file("MEDIENNAME_QUELLE_0.txt")), cleanText("{TITEL}t{/TITEL}\r\n\r\n"));
    EXPECT_EQ(readBytes(file("other_0.txt")), "x");
}

} // namespace
} // namespace quillet
