#include "batch/strip_folder.h"
#include "support/fakes.h"
#include "support/notation.h"
#include "support/small_disk.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::EventLog;

struct FakeStripControls : StripFolderControls {
    explicit FakeStripControls(EventLog& log) : log(log) {}
    bool subfolderMode() const override { return subfolder; }
    void checkSubfolderMode() override {
        subfolder = true;
        log.push_back("check subfolder");
    }
    bool sortBeforeStripping() const override { return sort; }
    EventLog& log;
    bool subfolder = true;
    bool sort = false;
};

using namespace test;

struct StripFolderFixture : testing::Test {
    QTemporaryDir dir;
    EventLog log;
    FakeStripControls controls{log};
    StringTextView buffer{"preview"};
    FakeProgress progress{log};
    FakeBoxes boxes{log};
    FakeFailures failures{log};
    FixedDate date;
    StripFolderServices services{controls, buffer, progress, boxes, failures, date};
    TextFileList list;

    QString in(const QString& name) const { return dir.path() + "/" + name; }
    QString untagged(int count) const {
        return dir.path() + "/untagged_07.12.2026_" + QString::number(count);
    }
    void files(std::initializer_list<std::pair<const char*, std::string>> contents) {
        for (const auto& [name, text] : contents)
            writeBytes(in(name), text);
        list.assign(dir.path());
    }
    BatchOutcome run() { return stripFolder(list, dir.path(), services); }
};

const std::string tagged = doc("{TITEL}t{/TITEL}⏎⏎{TEXT}body{/TEXT}⏎⏎");
const std::string untaggedText = doc("t⏎⏎body⏎⏎");
const std::string done = "information: Alle Dateien wurden erfolgreich bearbeitet und gespeichert!";

TEST_F(StripFolderFixture, SubfolderModeLeavesTheOriginals) {
    files({{"b.txt", "plain\nline"}, {"A.txt", tagged}});
    EXPECT_EQ(run(), BatchOutcome::Completed);
    EXPECT_EQ(readBytes(untagged(2) + "/A.txt"), untaggedText);
    EXPECT_EQ(readBytes(untagged(2) + "/b.txt"), doc("plain⏎line"));
    EXPECT_EQ(readBytes(in("A.txt")), tagged);
    EXPECT_EQ(readBytes(in("b.txt")), "plain\nline");
    EXPECT_EQ(log, (EventLog{"maximum 2", "position 0", "position 1", "maximum 2", "position 0",
                             "position 2", done}));
    EXPECT_EQ(buffer.str(), "");
}

TEST_F(StripFolderFixture, OverwriteModeAfterTheAnswerNo) {
    files({{"a.txt", tagged}, {"b.TXT", doc("{8}x{/8}⏎⏎free")}});
    controls.subfolder = false;
    EXPECT_EQ(run(), BatchOutcome::Completed);
    EXPECT_EQ(readBytes(in("a.txt")), untaggedText);
    EXPECT_EQ(readBytes(in("b.TXT")), doc("x⏎⏎free"));
    EXPECT_EQ(log.front(), "warning: " + std::string(QuestionOverwrite));
    EXPECT_FALSE(controls.subfolder);
    EXPECT_EQ(folderContents(dir.path()), (std::vector<std::string>{"a.txt", "b.TXT"}));
}

TEST_F(StripFolderFixture, AnswerYesSwitchesToTheSubfolder) {
    files({{"a.txt", tagged}});
    controls.subfolder = false;
    boxes.answerYes = true;
    EXPECT_EQ(run(), BatchOutcome::Completed);
    EXPECT_TRUE(controls.subfolder);
    EXPECT_EQ(readBytes(in("a.txt")), tagged);
    EXPECT_EQ(readBytes(untagged(1) + "/a.txt"), untaggedText);
    EXPECT_EQ(log[1], "check subfolder");
}

TEST_F(StripFolderFixture, EmptyListOnlyComplains) {
    list.assign(dir.path());
    controls.subfolder = false;
    EXPECT_EQ(run(), BatchOutcome::Refused);
    EXPECT_EQ(log, EventLog{"error: " + std::string(MessageNoTextFiles)});
    EXPECT_EQ(buffer.str(), "preview");
    EXPECT_EQ(folderContents(dir.path()), std::vector<std::string>{});
}

TEST_F(StripFolderFixture, SortingRunsOnlyOnTextsWithABrace) {
    files({{"a.txt", doc("{TEXT}body{/TEXT}⏎⏎{TITEL}t{/TITEL}⏎⏎")}, {"b.txt", "no braces\r\n"}});
    controls.sort = true;
    EXPECT_EQ(run(), BatchOutcome::Completed);
    EXPECT_EQ(shown(readBytes(untagged(2) + "/a.txt")), shown(doc("⏎⏎t⏎⏎body⏎⏎")));
    EXPECT_EQ(readBytes(untagged(2) + "/b.txt"), "no braces\r\n");
}

TEST_F(StripFolderFixture, SecondRunReplacesTheFilesOfTheSameSubfolder) {
    files({{"a.txt", "{X}one"}});
    run();
    writeBytes(in("a.txt"), "{X}two");
    EXPECT_EQ(run(), BatchOutcome::Completed);
    EXPECT_EQ(readBytes(untagged(1) + "/a.txt"), "two");
    EXPECT_EQ(folderContents(untagged(1)), std::vector<std::string>{"a.txt"});
}

TEST_F(StripFolderFixture, DateIsMadeSafeForAFolderName) {
    files({{"a.txt", "x"}});
    date.date = "12/7/26";
    EXPECT_EQ(run(), BatchOutcome::Completed);
    EXPECT_EQ(readBytes(dir.path() + "/untagged_12-7-26_1/a.txt"), "x");
}

TEST_F(StripFolderFixture, FileRemovedAfterListingStopsTheRun) {
    files({{"a.txt", "{A}1"}, {"b.txt", "{B}2"}, {"c.txt", "{C}3"}});
    controls.subfolder = false;
    QFile::remove(in("b.txt"));
    EXPECT_EQ(run(), BatchOutcome::Failed);
    EXPECT_EQ(readBytes(in("a.txt")), "1");
    EXPECT_EQ(readBytes(in("c.txt")), "{C}3");
    EXPECT_EQ(eventsStartingWith(log, "failure"),
              std::vector<std::string>{"failure: Datei " + path8(in("b.txt")) +
                                       " kann nicht ge\xF6"
                                       "ffnet werden"});
    EXPECT_EQ(eventsStartingWith(log, "information"), std::vector<std::string>{});
    EXPECT_EQ(progress.position, 1);
    EXPECT_EQ(buffer.str(), "1");
}

TEST_F(StripFolderFixture, WriteFailureStopsTheRunAndKeepsTheOriginals) {
    files({{"a.txt", "{A}1"}, {"b.txt", "{B}2"}});
    writeBytes(untagged(2), "a plain file where the subfolder should go");
    EXPECT_EQ(run(), BatchOutcome::Failed);
    EXPECT_EQ(eventsStartingWith(log, "failure"),
              std::vector<std::string>{"failure: Datei " + path8(untagged(2)) +
                                       "/a.txt kann nicht erstellt werden"});
    EXPECT_EQ(progress.position, 0);
    EXPECT_EQ(buffer.str(), "1");
    EXPECT_EQ(readBytes(in("a.txt")), "{A}1");
    EXPECT_EQ(readBytes(in("b.txt")), "{B}2");
}

TEST_F(StripFolderFixture, FullDiskKeepsEveryOriginalWhole) {
    SmallDisk disk(256);
    QUILLET_SKIP_WITHOUT(disk);
    // Each file takes more than half of the disk, so no replacement can be written beside it.
    const std::string big = "{T}" + std::string(150 * 1024, 'x');
    writeBytes(disk.path() + "/a.txt", big);
    list.assign(disk.path());
    controls.subfolder = false;
    EXPECT_EQ(stripFolder(list, disk.path(), services), BatchOutcome::Failed);
    EXPECT_EQ(eventsStartingWith(log, "failure").size(), 1u);
    EXPECT_EQ(readBytes(disk.path() + "/a.txt"), big);
    EXPECT_EQ(folderContents(disk.path()), std::vector<std::string>{"a.txt"});
}

} // namespace
} // namespace quillet
