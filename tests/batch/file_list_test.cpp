#include "batch/file_list.h"
#include "support/fakes.h"
#include "support/notation.h"
#include "text/text_file.h"

#include <gtest/gtest.h>

#include <random>

#include <sys/stat.h>

namespace quillet {
namespace {

using namespace test;

std::vector<std::string> names(const std::vector<QString>& entries) {
    std::vector<std::string> out;
    for (const QString& e : entries)
        out.push_back(e.toStdString());
    return out;
}

TEST(ListTextFiles, FilesOnlySortedWithoutRegardToCase) {
    QTemporaryDir dir;
    const QString d = dir.path();
    for (const char* f : {"b.txt", "A.TXT", "c.Txt", "a.txt", "d.txt.bak", "e.text", ".hidden.txt",
                          "target", "f.txt.Ab12Cd", "B.txt"})
        writeBytes(d + "/" + f, "x");
    QDir(d).mkdir("sub.txt");
    QDir(d).mkdir("folder");
    QFile::link(d + "/target", d + "/link-to-file.txt");
    QFile::link(d + "/folder", d + "/link-to-folder.txt");
    QFile::link(d + "/nowhere", d + "/dangling.txt");
    ASSERT_EQ(::mkfifo((d + "/pipe.txt").toLocal8Bit().constData(), 0600), 0);

    EXPECT_EQ(names(listTextFiles(d)), (std::vector<std::string>{"A.TXT", "a.txt", "B.txt", "b.txt",
                                                                 "c.Txt", "link-to-file.txt"}));
    EXPECT_EQ(names(listTextFiles(d + "/missing")), std::vector<std::string>{});
    EXPECT_EQ(names(listTextFiles(QString())), std::vector<std::string>{});
}

TEST(TextFileList, IsASnapshotUntilReread) {
    QTemporaryDir one, two;
    writeBytes(one.path() + "/a.txt", "");
    writeBytes(two.path() + "/z.txt", "");
    TextFileList list;
    list.assign(one.path());
    writeBytes(one.path() + "/b.txt", "");
    EXPECT_EQ(names(list.entries()), std::vector<std::string>{"a.txt"});
    list.reread();
    EXPECT_EQ(names(list.entries()), (std::vector<std::string>{"a.txt", "b.txt"}));

    list.assign(QString()); // a cancelled folder choice keeps the folder
    EXPECT_EQ(path8(list.folder()), path8(one.path()));
    list.assign(two.path());
    EXPECT_EQ(names(list.entries()), std::vector<std::string>{"z.txt"});
}

TEST(TextFileList, SelectedPath) {
    QTemporaryDir dir;
    writeBytes(dir.path() + "/a.txt", "");
    TextFileList list;
    list.assign(dir.path());
    EXPECT_EQ(path8(list.selectedPath(0)), path8(dir.path() + "/a.txt"));
    EXPECT_EQ(path8(list.selectedPath(-1)), "");
    EXPECT_EQ(path8(list.selectedPath(1)), "");
    list.assign(dir.path() + "/");
    EXPECT_EQ(path8(list.selectedPath(0)), path8(dir.path() + "/a.txt"));
    EXPECT_EQ(path8(pathInFolder("/", "x.txt")), "/x.txt");
}

TEST(NormalizeLineBreaks, EveryLoneBreakBecomesCrLf) {
    const struct {
        const char* name;
        std::string in, out;
    } rows[] = {
        {"Empty", "", ""},
        {"CrLfKept", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"LoneLf", "a\nb\n", "a\r\nb\r\n"},
        {"LoneCr", "a\rb", "a\r\nb"},
        {"LfThenCr", "\n\r", "\r\n\r\n"},
        {"CrCrLf", "\r\r\n", "\r\n\r\n"},
        {"NulKept", std::string("a\0\nb", 4), std::string("a\0\r\nb", 5)},
        {"LfFirst", "\nab\r\n", "\r\nab\r\n"},
        {"CrLast", "a\r\nb\r", "a\r\nb\r\n"},
        {"AsManyCrAsLf", "\r\r\n\n", "\r\n\r\n\r\n"},
    };
    for (const auto& row : rows) {
        std::string text = row.in;
        normalizeLineBreaks(text);
        EXPECT_EQ(shown(text), shown(row.out)) << row.name;
    }
}

TEST(NormalizeLineBreaks, AgreesWithByteByByteRuleOnRandomBreaks) {
    const auto byRule = [](const std::string& in) {
        std::string out;
        for (std::size_t i = 0; i < in.size(); ++i) {
            if (in[i] == '\r' || in[i] == '\n') {
                out += "\r\n";
                if (in[i] == '\r' && i + 1 < in.size() && in[i + 1] == '\n')
                    ++i;
            } else {
                out += in[i];
            }
        }
        return out;
    };
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 12, 'a');
        for (char& c : text)
            c = "\r\nx"[random() % 3];
        std::string normalized = text;
        normalizeLineBreaks(normalized);
        ASSERT_EQ(shown(normalized), shown(byRule(text))) << shown(text);
    }
}

TEST(TextFile, ReadsWholeBytesAndReportsWhatItCannotOpen) {
    QTemporaryDir dir;
    const std::string bytes = std::string("x\0\x80\n", 4) + std::string(3'000'000, 'y');
    writeBytes(dir.path() + "/a.txt", bytes);
    std::string expected = bytes;
    normalizeLineBreaks(expected);
    EXPECT_EQ(readTextFile(dir.path() + "/a.txt"), expected);
    EXPECT_EQ(readTextFile(dir.path()), std::nullopt);
    EXPECT_EQ(readTextFile(dir.path() + "/gone.txt"), std::nullopt);

    EventLog log;
    FakeFailures failures(log);
    StringTextView view("old");
    EXPECT_FALSE(loadTextFile(dir.path() + "/gone.txt", view, failures));
    EXPECT_EQ(view.str(), "old");
    EXPECT_EQ(log, EventLog{"failure: Datei " + path8(dir.path()) +
                            "/gone.txt kann nicht ge\xF6"
                            "ffnet werden"});
}

TEST(TextFile, ReplaceLeavesNoTemporaryFile) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/a.txt";
    writeBytes(path, "old");
    ASSERT_TRUE(replaceFile(path, "new"));
    EXPECT_EQ(readBytes(path), "new");
    ASSERT_TRUE(replaceFile(dir.path() + "/b.txt", ""));
    EXPECT_EQ(folderContents(dir.path()), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_FALSE(replaceFile(dir.path() + "/missing/c.txt", "x"));
    EXPECT_EQ(folderContents(dir.path()), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST(TextFile, WriteCreatesOrReplaces) {
    QTemporaryDir dir;
    const QString d = dir.path();
    QDir(d).mkdir("folder.txt");
    EXPECT_TRUE(writeFile(d + "/new.txt", "one"));
    EXPECT_TRUE(writeFile(d + "/new.txt", "two"));
    EXPECT_EQ(readBytes(d + "/new.txt"), "two");
    EXPECT_FALSE(writeFile(d + "/folder.txt", "x"));
    EXPECT_FALSE(writeFile(d + "/missing/x.txt", "x"));
    EXPECT_EQ(createNewFile(d + "/new.txt", "three"), Creation::AlreadyThere);
    EXPECT_EQ(readBytes(d + "/new.txt"), "two");
    EXPECT_EQ(folderContents(d), (std::vector<std::string>{"folder.txt", "new.txt"}));
}

} // namespace
} // namespace quillet
