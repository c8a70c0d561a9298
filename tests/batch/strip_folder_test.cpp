#include "batch/overwrite_batch.h"
#include "batch/strip_folder.h"
#include "files/text_file.h"
#include "support/fakes.h"
#include "support/notation.h"
#include "support/small_disk.h"

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

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
    TempFolder dir;
    EventLog log;
    FakeStripControls controls{log};
    StringTextView buffer{"preview"};
    FakeProgress progress{log};
    FakeBoxes boxes{log};
    FakeFailures failures{log};
    FixedDate date;
    StripFolderServices services{controls, buffer, progress, boxes, failures, date};
    TextFileList list;

    NativePath in(const std::string& name) const { return dir.path() + "/" + name; }
    NativePath untagged(int count, const char* variant = "") const {
        return dir.path() + "/untagged_07.12.2026_" + std::to_string(count) + variant;
    }
    void files(std::initializer_list<std::pair<const char*, std::string>> contents) {
        for (const auto& [name, text] : contents)
            writeBytes(in(name), text);
        list.assign(native(dir.path()));
    }
    BatchOutcome run() { return stripFolder(list, native(dir.path()), services); }
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
    list.assign(native(dir.path()));
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

TEST_F(StripFolderFixture, EachRunOfTheDayGetsASubfolderOfItsOwn) {
    files({{"a.txt", "{X}one"}});
    EXPECT_EQ(run(), BatchOutcome::Completed);
    writeBytes(untagged(1) + "/a.txt", "edited since");
    writeBytes(in("a.txt"), "{X}two");
    EXPECT_EQ(run(), BatchOutcome::Completed);
    writeBytes(untagged(1, "-3"), "a plain file takes a name too");
    EXPECT_EQ(run(), BatchOutcome::Completed);
    EXPECT_EQ(readBytes(untagged(1) + "/a.txt"), "edited since");
    EXPECT_EQ(readBytes(untagged(1, "-2") + "/a.txt"), "two");
    EXPECT_EQ(readBytes(untagged(1, "-4") + "/a.txt"), "two");
}

TEST_F(StripFolderFixture, DateIsMadeSafeForAFolderName) {
    files({{"a.txt", "x"}});
    date.date = "12/7/26";
    EXPECT_EQ(run(), BatchOutcome::Completed);
    EXPECT_EQ(readBytes(dir.path() + "/untagged_12-7-26_1/a.txt"), "x");
}

TEST_F(StripFolderFixture, FailedRunLeavesNoEmptySubfolder) {
    files({{"a.txt", "{A}1"}, {"b.txt", "{B}2"}});
    removeName(in("a.txt"));
    EXPECT_EQ(run(), BatchOutcome::Failed);
    EXPECT_EQ(folderContents(dir.path()), std::vector<std::string>{"b.txt"});
}

TEST_F(StripFolderFixture, FileReplacedByAFifoAfterListingIsNotWaitedFor) {
    files({{"a.txt", "{A}1"}, {"b.txt", "{B}2"}});
    removeName(in("b.txt"));
    ASSERT_EQ(::mkfifo(native(in("b.txt")).c_str(), 0600), 0);
    controls.subfolder = false;
    EXPECT_EQ(run(), BatchOutcome::Failed);
    EXPECT_EQ(eventsStartingWith(log, "failure"),
              std::vector<std::string>{"failure: Datei " + path8(in("b.txt")) +
                                       " kann nicht ge\xF6"
                                       "ffnet werden"});
    EXPECT_EQ(readBytes(in("a.txt")), "1");
}

TEST_F(StripFolderFixture, FileRemovedAfterListingStopsTheRun) {
    files({{"a.txt", "{A}1"}, {"b.txt", "{B}2"}, {"c.txt", "{C}3"}});
    controls.subfolder = false;
    removeName(in("b.txt"));
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
    // The folder text names a plain file, so no subfolder can be made in it.
    writeBytes(in("plain"), "");
    EXPECT_EQ(stripFolder(list, native(in("plain")), services), BatchOutcome::Failed);
    EXPECT_EQ(eventsStartingWith(log, "failure"),
              std::vector<std::string>{"failure: Datei " + path8(in("plain")) +
                                       "/untagged_07.12.2026_2/a.txt kann nicht erstellt werden"});
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
    list.assign(native(disk.path()));
    controls.subfolder = false;
    EXPECT_EQ(stripFolder(list, native(disk.path()), services), BatchOutcome::Failed);
    EXPECT_EQ(eventsStartingWith(log, "failure").size(), 1u);
    EXPECT_EQ(readBytes(disk.path() + "/a.txt"), big);
    EXPECT_EQ(folderContents(disk.path()), std::vector<std::string>{"a.txt"});
}

// Another program's change between reading and putting in place is never lost.
TEST(OverwriteBatch, NeverReplacesWhatChangedMeanwhile) {
    const struct {
        const char* name;
        std::function<void(const NativePath&)> change;
    } rows[] = {
        {"AnotherFileUnderTheName",
         [](const NativePath& b) {
             writeBytes(b + ".new", "theirs");
             ::rename((b + ".new").c_str(), b.c_str());
         }},
        {"ChangedInPlace", [](const NativePath& b) { writeBytes(b, "theirs"); }},
        {"HardLinkedChangedInPlace", [](const NativePath& b) { writeBytes(b, "theirs"); }},
    };
    for (const auto& row : rows) {
        TempFolder dir;
        const NativePath a = native(dir.path() + "/a.txt");
        const NativePath b = native(dir.path() + "/b.txt");
        writeBytes(a, "old a");
        writeBytes(b, "old b");
        if (std::string_view(row.name).starts_with("HardLinked"))
            ::link(b.c_str(), native(dir.path() + "/c").c_str());
        FileStatus readA, readB;
        ASSERT_TRUE(readFileBytes(a, &readA) && readFileBytes(b, &readB));
        OverwriteBatch batch;
        ASSERT_TRUE(batch.stage(a, readA, "new a"));
        ASSERT_TRUE(batch.stage(b, readB, "new b"));
        row.change(b);
        EXPECT_FALSE(batch.commit()) << row.name;
        EXPECT_EQ(batch.failedPath(), b) << row.name;
        EXPECT_EQ(readBytes(a), "new a") << row.name;
        EXPECT_EQ(readBytes(b), "theirs") << row.name;
        std::vector<std::string> left = folderContents(native(dir.path()));
        std::erase(left, "c");
        EXPECT_EQ(left, (std::vector<std::string>{"a.txt", "b.txt"})) << row.name;
    }
}

struct stat statusOf(const NativePath& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        throw std::runtime_error("no file " + path);
    return st;
}

// Over the originals: what the user had stays, only the text changes. `arrange` makes the
// folder's files and returns what to check after the run.
struct KeepCase {
    const char* name;
    bool needsRoot;
    std::function<std::function<void()>(const NativePath& in, const NativePath& outside)> arrange;
};

const KeepCase keepCases[] = {
    {"ModeAndSetIdBits", false,
     [](const NativePath& in, const NativePath&) -> std::function<void()> {
         writeBytes(in + "/a.txt", "{A}1");
         ::chmod((in + "/a.txt").c_str(), 06751);
         return [=] {
             EXPECT_EQ(readBytes(in + "/a.txt"), "1");
             EXPECT_EQ(statusOf(in + "/a.txt").st_mode & 07777, 06751u);
         };
     }},
    {"WriteProtectedForEveryoneButRoot", true,
     [](const NativePath& in, const NativePath&) -> std::function<void()> {
         writeBytes(in + "/a.txt", "{A}1");
         ::chmod((in + "/a.txt").c_str(), 0444);
         return [=] {
             EXPECT_EQ(readBytes(in + "/a.txt"), "1");
             EXPECT_EQ(statusOf(in + "/a.txt").st_mode & 07777, 0444u);
         };
     }},
    {"OwnerAndGroup", true,
     [](const NativePath& in, const NativePath&) -> std::function<void()> {
         writeBytes(in + "/a.txt", "{A}1");
         EXPECT_EQ(::chown((in + "/a.txt").c_str(), 65534, 65534), 0);
         return [=] {
             EXPECT_EQ(readBytes(in + "/a.txt"), "1");
             EXPECT_EQ(statusOf(in + "/a.txt").st_uid, 65534u);
             EXPECT_EQ(statusOf(in + "/a.txt").st_gid, 65534u);
         };
     }},
    {"HardLinksInAndOutsideTheFolder", false,
     [](const NativePath& in, const NativePath& outside) -> std::function<void()> {
         writeBytes(in + "/a.txt", "{A}old text");
         ::link((in + "/a.txt").c_str(), (in + "/b.txt").c_str());
         ::link((in + "/a.txt").c_str(), (outside + "/c").c_str());
         const ino_t inode = statusOf(in + "/a.txt").st_ino;
         return [=] {
             for (const NativePath& name : {in + "/a.txt", in + "/b.txt", outside + "/c"}) {
                 EXPECT_EQ(readBytes(name), "old text") << name;
                 EXPECT_EQ(statusOf(name).st_ino, inode) << name;
                 EXPECT_EQ(statusOf(name).st_nlink, 3u) << name;
             }
         };
     }},
    {"LinkStaysALinkToItsRewrittenTarget", false,
     [](const NativePath& in, const NativePath& outside) -> std::function<void()> {
         writeBytes(outside + "/target", "{A}linked\n");
         ::symlink((outside + "/target").c_str(), (in + "/l.txt").c_str());
         return [=] {
             EXPECT_TRUE(S_ISLNK(statusOf(in + "/l.txt").st_mode));
             EXPECT_EQ(readBytes(outside + "/target"), "linked\r\n");
             EXPECT_EQ(folderContents(outside), std::vector<std::string>{"target"});
         };
     }},
    {"UnchangedFileIsNotTouched", false,
     [](const NativePath& in, const NativePath&) -> std::function<void()> {
         writeBytes(in + "/a.txt", "plain\r\n");
         writeBytes(in + "/b.txt", "lone break\n");
         const utimbuf old{1'000'000'000, 1'000'000'000};
         ::utime((in + "/a.txt").c_str(), &old);
         const ino_t inode = statusOf(in + "/a.txt").st_ino;
         return [=] {
             EXPECT_EQ(statusOf(in + "/a.txt").st_mtime, 1'000'000'000);
             EXPECT_EQ(statusOf(in + "/a.txt").st_ino, inode);
             EXPECT_EQ(readBytes(in + "/b.txt"), "lone break\r\n");
         };
     }},
    {"InterruptedRewriteIsFinishedFirst", false,
     [](const NativePath& in, const NativePath& outside) -> std::function<void()> {
         // What a crash while a file with two names was rewritten in place leaves: the
         // file cut short and the journal with its whole new text.
         writeBytes(in + "/a.txt", "{A}half");
         ::link((in + "/a.txt").c_str(), (outside + "/a").c_str());
         const struct stat st = statusOf(in + "/a.txt");
         writeBytes(in + "/.quillet-rewrite-" + std::to_string(st.st_dev) + "-" +
                        std::to_string(st.st_ino),
                    "whole new text");
         return [=] {
             EXPECT_EQ(readBytes(in + "/a.txt"), "whole new text");
             EXPECT_EQ(readBytes(outside + "/a"), "whole new text");
         };
     }},
};

class KeepsWhatTheUserHad : public StripFolderFixture,
                            public testing::WithParamInterface<KeepCase> {};

TEST_P(KeepsWhatTheUserHad, OverTheOriginals) {
    if (GetParam().needsRoot && ::geteuid() != 0)
        GTEST_SKIP() << "only root may set this up";
    TempFolder outside;
    const NativePath folder = native(dir.path());
    const std::function<void()> check = GetParam().arrange(folder, native(outside.path()));
    // Afterwards the same names, no temporary file, and no journal left.
    std::vector<std::string> names = folderContents(folder);
    std::erase_if(names, [](const std::string& n) { return n.starts_with(".quillet-rewrite-"); });
    list.assign(folder);
    controls.subfolder = false;
    EXPECT_EQ(run(), BatchOutcome::Completed);
    check();
    EXPECT_EQ(folderContents(folder), names);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeepsWhatTheUserHad, testing::ValuesIn(keepCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quillet
