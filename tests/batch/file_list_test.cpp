#include "batch/file_list.h"
#include "files/text_file.h"
#include "support/fakes.h"
#include "support/notation.h"
#include "text/display_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <memory>
#include <random>
#include <thread>

// FIFOs, sockets, devices and names that are no UTF-8 exist on POSIX systems only.
#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace quillet {
namespace {

using namespace test;

const std::vector<std::string>& names(const std::vector<std::string>& entries) {
    return entries;
}

// Names that differ in case only, links, a FIFO and a Latin-1 name: POSIX file systems.
#ifndef _WIN32
TEST(ListTextFiles, AllButFoldersSortedWithoutRegardToCase) {
    TempFolder dir;
    const NativePath d = dir.path();
    for (const char* f : {"b.txt", "A.TXT", "c.Txt", "a.txt", "d.txt.bak", "e.text", ".hidden.txt",
                          "target", "f.txt.Ab12Cd", "B.txt"})
        writeBytes(d + "/" + f, "x");
    makeFolder(d + "/sub.txt");
    makeFolder(d + "/folder");
    makeLink(d + "/target", d + "/link-to-file.txt");
    makeLink(d + "/folder", d + "/link-to-folder.txt");
    makeLink(d + "/nowhere", d + "/dangling.txt");
    ASSERT_EQ(::mkfifo((d + "/pipe.txt").c_str(), 0600), 0);

    EXPECT_EQ(names(listTextFiles(native(d))),
              (std::vector<std::string>{"A.TXT", "a.txt", "B.txt", "b.txt", "c.Txt", "dangling.txt",
                                        "link-to-file.txt", "pipe.txt"}));
    EXPECT_EQ(names(listTextFiles(native(d + "/missing"))), std::vector<std::string>{});
    EXPECT_EQ(names(listTextFiles(NativePath())), std::vector<std::string>{});
}

// Letters of other scripts and outside the Basic Multilingual Plane, names in UTF-8 and one
// in Latin-1: the order the list has always had, by Unicode's simple case folding.
TEST(ListTextFiles, SortsEveryScriptWithoutRegardToCase) {
    TempFolder dir;
    const std::vector<std::string> sorted = {
        "M\xFC"
        "ller.txt",
        "m\u00FCller.txt",
        "Stra\u00DFe.txt",
        "\u017Ftra\u00DFe.txt",
        "Zebra.txt",
        "\u00E4hnlich.txt",
        "\u00C4rger.txt",
        "\u00FCbel.txt",
        "\u00DCber.txt",
        "\u01C4emal.txt",
        "\u01C5emal.txt",
        "\u01C6emal.txt",
        "\u03A3\u03BF\u03C6\u03AF\u03B1.txt",
        "\u03C3\u03BF\u03C6\u03AF\u03B1.txt",
        "\U00010400deseret.txt",
        "\U00010428deseret.txt",
    };
    for (auto name = sorted.rbegin(); name != sorted.rend(); ++name)
        writeBytes(dir.filePath(*name), "x");
    EXPECT_EQ(listTextFiles(dir.path()), sorted);
}
#endif

TEST(TextFileList, IsASnapshotUntilReread) {
    TempFolder one, two;
    writeBytes(one.path() + "/a.txt", "");
    writeBytes(two.path() + "/z.txt", "");
    TextFileList list;
    list.assign(native(one.path()));
    writeBytes(one.path() + "/b.txt", "");
    EXPECT_EQ(names(list.entries()), std::vector<std::string>{"a.txt"});
    list.reread();
    EXPECT_EQ(names(list.entries()), (std::vector<std::string>{"a.txt", "b.txt"}));

    list.assign(NativePath()); // a cancelled folder choice keeps the folder
    EXPECT_EQ(list.folder(), native(one.path()));
    list.assign(native(two.path()));
    EXPECT_EQ(names(list.entries()), std::vector<std::string>{"z.txt"});
}

TEST(TextFileList, SelectedPath) {
    TempFolder dir;
    writeBytes(dir.path() + "/a.txt", "");
    TextFileList list;
    list.assign(native(dir.path()));
    EXPECT_EQ(list.selectedPath(0), native(dir.path() + sep + "a.txt"));
    EXPECT_EQ(list.selectedPath(-1), "");
    EXPECT_EQ(list.selectedPath(1), "");
    list.assign(native(dir.path() + "/"));
    EXPECT_EQ(list.selectedPath(0), native(dir.path() + "/a.txt"));
    EXPECT_EQ(joinPath("/", "x.txt"), "/x.txt");
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
    TempFolder dir;
    const std::string bytes = std::string("x\0\x80\n", 4) + std::string(3'000'000, 'y');
    writeBytes(dir.path() + "/a.txt", bytes);
    std::string expected = bytes;
    normalizeLineBreaks(expected);
    EXPECT_EQ(readTextFile(native(dir.path() + "/a.txt")), expected);
    EXPECT_EQ(readTextFile(native(dir.path())), std::nullopt);
    EXPECT_EQ(readTextFile(native(dir.path() + "/gone.txt")), std::nullopt);

    EventLog log;
    FakeFailures failures(log);
    StringTextView view("old");
    EXPECT_FALSE(loadTextFile(native(dir.path() + "/gone.txt"), view, failures));
    EXPECT_EQ(view.str(), "old");
    EXPECT_EQ(log, EventLog{"failure: Datei " + path8(dir.path()) +
                            "/gone.txt kann nicht ge\xF6"
                            "ffnet werden"});
}

TEST(TextFile, ReplaceLeavesNoTemporaryFile) {
    TempFolder dir;
    const NativePath path = dir.path() + "/a.txt";
    writeBytes(path, "old");
    ASSERT_TRUE(replaceFile(path, "new"));
    EXPECT_EQ(readBytes(path), "new");
    ASSERT_TRUE(replaceFile(dir.path() + "/b.txt", ""));
    EXPECT_EQ(folderContents(dir.path()), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_FALSE(replaceFile(dir.path() + "/missing/c.txt", "x"));
    EXPECT_EQ(folderContents(dir.path()), (std::vector<std::string>{"a.txt", "b.txt"}));
}

#ifndef _WIN32
TEST(TextFile, CreatesOnlyWhatIsNotThere) {
    TempFolder dir;
    const NativePath d = dir.path();
    makeFolder(d + "/folder.txt");
    makeLink(d + "/nowhere", d + "/dangling.txt");
    EXPECT_EQ(createNewFile(d + "/new.txt", "one"), Creation::Written);
    EXPECT_EQ(createNewFile(d + "/new.txt", "two"), Creation::AlreadyThere);
    EXPECT_EQ(createNewFile(d + "/dangling.txt", "x"), Creation::AlreadyThere);
    EXPECT_EQ(createNewFile(d + "/folder.txt", "x"), Creation::Failed);
    EXPECT_EQ(createNewFile(d + "/missing/x.txt", "x"), Creation::Failed);
    EXPECT_EQ(readBytes(d + "/new.txt"), "one");
    EXPECT_EQ(folderContents(d),
              (std::vector<std::string>{"dangling.txt", "folder.txt", "new.txt"}));
}
#endif

#ifndef _WIN32
// Names from old archives: not UTF-8, yet listed, opened and shown readably.
struct ByteNameCase {
    const char* name;
    std::string bytes;
    const char* shown; // UTF-8
};

const ByteNameCase byteNameCases[] = {
    {"Latin1", "M\xFCller.txt", "M\u00FCller.txt"},
    {"Utf8", "M\xC3\xBCller.txt", "M\u00FCller.txt"},
    {"LeadByteWithoutFollower", "a\xC3(.txt", "a\u00C3(.txt"},
    {"CutShort", "x\xE2\x82.txt", "x\u00E2\u201A.txt"},
    {"Overlong", "\xC0\xAF.txt", "\u00C0\u00AF.txt"},
    {"EncodedSurrogate", "\xED\xA0\x80.txt", "\u00ED\u00A0\u20AC.txt"},
    {"UndefinedInWindows1252", "\x81.txt", "\u0081.txt"},
};

class ByteNames : public testing::TestWithParam<ByteNameCase> {};

TEST_P(ByteNames, ListedOpenedAndShownReadably) {
    const ByteNameCase& c = GetParam();
    TempFolder dir;
    const NativePath folder = native(dir.path());
    writeBytes(joinPath(folder, c.bytes), "{TITEL}x{/TITEL}\n");
    TextFileList list;
    list.assign(folder);
    ASSERT_EQ(list.entries(), std::vector<std::string>{c.bytes});
    EXPECT_EQ(list.shownName(0), c.shown);
    EXPECT_EQ(readTextFile(list.selectedPath(0)), "{TITEL}x{/TITEL}\r\n");
    EXPECT_EQ(cannotOpenMessage(list.selectedPath(0)), "Datei " + documentTextFromUtf8(dir.path()) +
                                                           "/" + documentTextFromUtf8(c.shown) +
                                                           " kann nicht ge\xF6"
                                                           "ffnet werden");
}

INSTANTIATE_TEST_SUITE_P(Rows, ByteNames, testing::ValuesIn(byteNameCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Runs `read` on a thread and gives up after a few seconds: a read that blocks on a FIFO
// fails the test rather than hanging it.
std::optional<std::optional<std::string>> readWithin(const NativePath& path) {
    auto result = std::make_shared<std::promise<std::optional<std::string>>>();
    std::future<std::optional<std::string>> done = result->get_future();
    std::thread([result, path] { result->set_value(readFileBytes(path)); }).detach();
    if (done.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        return std::nullopt;
    return done.get();
}

// What may stand behind a "*.txt" name, or replace a listed file before it is read. All
// but a folder are listed, so that reading them fails where someone sees it.
struct KindCase {
    const char* name;
    std::function<void(const NativePath& folder, const NativePath& at)> make;
    bool listed = true;
};

const KindCase kindCases[] = {
    {"Fifo",
     [](const NativePath&, const NativePath& at) { ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0); }},
    {"LinkToFifo",
     [](const NativePath& folder, const NativePath& at) {
         ASSERT_EQ(::mkfifo((folder + "/pipe").c_str(), 0600), 0);
         makeLink(folder + "/pipe", at);
     }},
    {"LinkToDevZero", [](const NativePath&, const NativePath& at) { makeLink("/dev/zero", at); }},
    {"LinkToDevTty", [](const NativePath&, const NativePath& at) { makeLink("/dev/tty", at); }},
    {"LinkToFolder", [](const NativePath& folder, const NativePath& at) { makeLink(folder, at); },
     false},
    {"Socket",
     [](const NativePath&, const NativePath& at) {
         const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         ASSERT_LT(at.size(), sizeof address.sun_path);
         std::memcpy(address.sun_path, at.data(), at.size());
         ASSERT_EQ(::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
         ::close(s);
     }},
    {"Dangling",
     [](const NativePath& folder, const NativePath& at) { makeLink(folder + "/no", at); }},
};

class NotARegularFile : public testing::TestWithParam<KindCase> {};

TEST_P(NotARegularFile, IsListedUnlessAFolderButNeverReadNorWaitedFor) {
    TempFolder dir;
    const NativePath at = dir.path() + "/x.txt";
    GetParam().make(dir.path(), at);
    EXPECT_EQ(listTextFiles(native(dir.path())),
              GetParam().listed ? std::vector<std::string>{"x.txt"} : std::vector<std::string>{});
    const auto read = readWithin(native(at));
    ASSERT_TRUE(read.has_value()) << "the read did not return";
    EXPECT_EQ(*read, std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Rows, NotARegularFile, testing::ValuesIn(kindCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextFile, SparseFileLargerThanMemoryIsRefusedAtOnce) {
    TempFolder dir;
    const NativePath path = native(dir.path() + "/huge.txt");
    writeBytes(path, "{TEXT}");
    // A terabyte that takes no room on the disk; the file system may not allow as much.
    if (::truncate(path.c_str(), off_t{1} << 40) != 0)
        GTEST_SKIP() << "this file system holds no 1 TB sparse file";
    const auto read = readWithin(path);
    ASSERT_TRUE(read.has_value()) << "the read did not return";
    EXPECT_EQ(*read, std::nullopt);
}
#endif

TEST(ReadToEnd, JoinsPiecesOfAnySizeAndFailsOnAnError) {
    std::string source(5'000'003, 'x');
    for (std::size_t i = 0; i < source.size(); i += 977)
        source[i] = static_cast<char>(i % 251);
    std::size_t at = 0;
    // Short reads of varying size, as a pipe gives them.
    const auto reader = [&](char* buffer, std::size_t size) -> long long {
        const std::size_t n = std::min({size, source.size() - at, 1 + at % 70'000});
        std::memcpy(buffer, source.data() + at, n);
        at += n;
        return static_cast<long long>(n);
    };
    EXPECT_EQ(readToEnd(reader), source);

    at = 0;
    EXPECT_EQ(readToEnd([&](char* buffer, std::size_t size) -> long long {
                  return at > 3'000'000 ? -1 : reader(buffer, size);
              }),
              std::nullopt);
    EXPECT_EQ(readToEnd([](char*, std::size_t) -> long long { return 0; }), "");
}

} // namespace
} // namespace quillet
