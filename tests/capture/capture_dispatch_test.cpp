#include "capture/capture_table.h"
#include "capture/source_address.h"
#include "support/capture_fakes.h"
#include "support/notation.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::doc;
using test::FakeWorld;
using test::shown;
using Log = std::vector<std::string>;
using S = ClipboardText::Status;

// What a capture key does when the program in front copies at once.
const Log copyAndRead{"mark", "ctrl+c", "sleep 20", "wait 2980", "clipboard"};

Log then(Log log, std::string last) {
    log.push_back(std::move(last));
    return log;
}

// Every tagged key on an empty document: mark, keystroke, waits, clipboard, section, status.
TEST(HandleHotKey, EveryTaggedKeyCapturesUnderItsTag) {
    for (const CaptureRow& row : captureTable()) {
        if (row.action != CaptureAction::Tagged)
            continue;
        FakeWorld w;
        w.enabled[row.id] = true;
        w.press(row.id);
        const std::string tag = row.id == 8 ? "8" : row.id == 9 ? "9" : std::string(row.tag);
        EXPECT_EQ(w.view.str(), "{" + tag + "}X{/" + tag + "}\r\n\r\n") << row.id;
        EXPECT_EQ(w.log, then(then(copyAndRead, "highlight mark"),
                              "notify '" + std::string(row.status) + "'"))
            << row.id;
    }
}

TEST(HandleHotKey, StatusTextsOfTheKeys) {
    const std::pair<int, const char*> rows[] = {
        {1, "Obertitel kopiert.."},
        {2, "Titel kopiert.."},
        {3, "Untertitel kopiert.."},
        {4, "Text kopiert.."},
        {5, "Erscheinungsdatum kopiert.."},
        {6, "Aufnahmedatum eingef\xFCgt.."},
        {7, "Thema kopiert.."},
        {12, "AutorIn kopiert.."},
        {13, "Quelle kopiert.."},
        {14, "Medium kopiert.."},
        {16, "Seitenzahl kopiert.."},
    };
    for (const auto& [id, status] : rows) {
        FakeWorld w;
        w.press(id);
        EXPECT_EQ(w.log.back(), std::string("notify '") + status + "'") << id;
    }
}

TEST(HandleHotKey, TitleThenTextTwiceBuildsTheExample) {
    FakeWorld w;
    w.clip.text = "Das ist ein Demonstrationstitel";
    w.press(2);
    w.clip.text = "Dieser Text war zuerst da.";
    w.press(4);
    w.clip.text = "Dann kam dieser Satz hinzu.";
    w.press(4);
    EXPECT_EQ(w.view.str(), doc("{TITEL}Das ist ein Demonstrationstitel{/TITEL}⏎⏎"
                                "{TEXT}Dieser Text war zuerst da.⏎⏎"
                                "Dann kam dieser Satz hinzu.{/TEXT}⏎⏎"));
}

TEST(HandleHotKey, DateNeedsNoClipboard) {
    FakeWorld w;
    w.clip.status = ClipboardText::Status::NoText;
    w.caseOpt = CaseOption::Lower;
    w.date.date = "7/12/26";
    w.press(6);
    EXPECT_EQ(w.view.str(), doc("{A_DATUM}7/12/26{/A_DATUM}⏎⏎"));
    EXPECT_EQ(w.log, (Log{"notify 'Aufnahmedatum eingef\xFCgt..'"}));
    w.press(6);
    EXPECT_EQ(w.view.str(), doc("{A_DATUM}7/12/26⏎⏎7/12/26{/A_DATUM}⏎⏎"));
}

TEST(HandleHotKey, UntaggedKeyAppendsAndNeverMerges) {
    FakeWorld w;
    w.enabled[11] = true;
    w.caseOpt = CaseOption::Upper;
    w.clip.text = "frei";
    w.press(11);
    w.press(11);
    EXPECT_EQ(w.view.str(), doc("frei⏎⏎frei⏎⏎"));
    EXPECT_EQ(w.log.back(), "notify 'Reinen Text angef\xFCgt..'");
}

TEST(HandleHotKey, UserTagsFollowTheirFieldsAtTheMomentOfCapture) {
    FakeWorld w;
    w.enabled[8] = true;
    w.enabled[9] = true;
    w.press(8);
    w.firstTag = "NEU";
    w.press(8);
    w.secondTag = "NEU";
    w.press(9);
    EXPECT_EQ(w.view.str(), doc("{8}X{/8}⏎⏎{NEU}X⏎⏎X{/NEU}⏎⏎"));
}

TEST(HandleHotKey, ClipboardThatCannotBeOpenedStopsWithTheErrorBox) {
    FakeWorld w;
    w.clip.status = ClipboardText::Status::CannotOpen;
    w.press(4);
    EXPECT_EQ(w.view.str(), "");
    EXPECT_EQ(w.log, then(copyAndRead, "error 'Zwischenablage kann nicht ge\xF6"
                                       "ffnet werden'"));
}

TEST(HandleHotKey, CtrlYMinimizesAndRestoresWithoutNotification) {
    FakeWorld w;
    w.press(15);
    w.press(15);
    EXPECT_EQ(w.log, (Log{"minimize", "restore"}));
}

TEST(HandleHotKey, AuthorKeyFollowsItsOwnBox) {
    FakeWorld w;
    w.enabled[1] = false;
    w.press(12);
    EXPECT_EQ(w.view.str(), doc("{AUTOR}X{/AUTOR}⏎⏎"));
}

// Only the captures fake Ctrl+C: in a terminal it would interrupt the running program, and
// Ctrl+Y would change the user's clipboard.
struct QuietCase {
    const char* name;
    int id;
    bool enabled;
    std::optional<std::string> saved;
    Log log;
};
void PrintTo(const QuietCase& c, std::ostream* os) {
    *os << c.name;
}

const QuietCase quietCases[] = {
    {"Date", 6, true, {}, {"notify 'Aufnahmedatum eingef\xFCgt..'"}},
    {"Save", 10, true, "Kein Text zum Speichern..", {"save", "notify 'Kein Text zum Speichern..'"}},
    {"FailedSaveEndsAtItsBox", 10, true, std::nullopt, {"save"}},
    {"SaveUnchecked", 10, false, {}, {"notify ''"}},
    {"HideShowUnchecked", 15, false, {}, {}},
    {"CaptureUnchecked", 4, false, {}, {"notify ''"}},
    {"UnknownIdentifier", 17, true, {}, {}},
    {"IdentifierZero", 0, true, {}, {}},
};

class KeysThatCopyNothing : public testing::TestWithParam<QuietCase> {};

TEST_P(KeysThatCopyNothing, SendNoKeystroke) {
    const QuietCase& c = GetParam();
    FakeWorld w;
    w.enabled[c.id] = c.enabled;
    w.saveStatus = c.saved;
    w.press(c.id);
    EXPECT_EQ(w.log, c.log);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeysThatCopyNothing, testing::ValuesIn(quietCases),
                         [](const auto& info) { return std::string(info.param.name); });

// When the copy lands decides the wait and whether the capture is confirmed: the wait ends
// at the copy, never before the keystroke's 20 ms nor after the bound; an old clipboard
// is still taken, but never passed off as a new copy.
struct CopyCase {
    const char* name;
    int copyAfterMs; // negative: the program in front copies nothing
    ClipboardText old;
    ClipboardText copied;
    const char* document;
    const char* status;
    int waitedMs;
};
void PrintTo(const CopyCase& c, std::ostream* os) {
    *os << c.name;
}

const ClipboardText oldText{S::Text, "alt"}, newText{S::Text, "neu"}, noText{S::NoText, ""};
// clang-format off
const CopyCase copyCases[] = {
    {"AtOnce", 0, oldText, newText, "{TEXT}neu{/TEXT}⏎⏎", "Text kopiert..", 20},
    {"Early", 5, oldText, newText, "{TEXT}neu{/TEXT}⏎⏎", "Text kopiert..", 20},
    {"AfterTheOldFixedWait", 600, oldText, newText, "{TEXT}neu{/TEXT}⏎⏎", "Text kopiert..", 600},
    {"AtTheBound", 3000, oldText, newText, "{TEXT}neu{/TEXT}⏎⏎", "Text kopiert..", 3000},
    {"JustTooLate", 3001, oldText, newText, "{TEXT}alt{/TEXT}⏎⏎", "Keine Kopie: alter Text..", 3000},
    {"Never", -1, oldText, newText, "{TEXT}alt{/TEXT}⏎⏎", "Keine Kopie: alter Text..", 3000},
    {"NeverAndNoOldText", -1, noText, newText, "", "Keine neue Kopie..", 3000},
    {"CopiedAPicture", 5, oldText, noText, "", "", 20},
};
// clang-format on

class CopyTiming : public testing::TestWithParam<CopyCase> {};

TEST_P(CopyTiming, DecidesTextAndStatus) {
    const CopyCase& c = GetParam();
    FakeWorld w;
    w.copyAfterMs = c.copyAfterMs;
    w.old = c.old;
    w.clip = c.copied;
    w.press(4);
    EXPECT_EQ(w.view.str(), doc(c.document));
    EXPECT_EQ(w.log.back(), std::string("notify '") + c.status + "'");
    EXPECT_EQ(w.now, c.waitedMs);
}

INSTANTIATE_TEST_SUITE_P(Rows, CopyTiming, testing::ValuesIn(copyCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A copy keystroke while the program's own window or box is in front would copy from the
// program itself: the capture keys insert nothing and say why; the date still goes in.
TEST(HandleHotKey, NothingIsCopiedFromTheProgramItself) {
    const std::pair<Foreground, const char*> fronts[] = {
        {Foreground::OwnWindow, "notify 'Quillet im Vordergrund..'"},
        {Foreground::OwnBox, "notify 'Erst Meldung schlie\xDF"
                             "en..'"},
    };
    for (const auto& [front, notice] : fronts) {
        FakeWorld w;
        w.front = front;
        w.enabled[11] = true;
        w.press(4);
        w.press(11);
        EXPECT_EQ(w.view.str(), "");
        EXPECT_EQ(w.log, (Log{notice, notice}));
        w.press(6);
        EXPECT_EQ(w.view.str(), doc("{A_DATUM}07.12.2026{/A_DATUM}⏎⏎"));
    }
}

// Where no key may be sent, a key takes the highlighted text, and only a highlight it has
// not taken before; no key and no clipboard are touched.
struct HighlightCase {
    const char* name;
    std::vector<std::pair<int, Clipboard::ChangeMark>> presses; // key, highlight's mark
    ClipboardText highlight;
    const char* document;
    Log lastLog;
};
void PrintTo(const HighlightCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const HighlightCase highlightCases[] = {
    {"NewHighlight", {{4, 1}}, newText, "{TEXT}neu{/TEXT}⏎⏎",
     {"highlight mark", "highlight", "notify 'Text kopiert..'"}},
    {"NoneYet", {{4, 0}}, newText, "", {"highlight mark", "notify 'Keine neue Kopie..'"}},
    {"SameHighlightTwice", {{4, 1}, {4, 1}}, newText, "{TEXT}neu{/TEXT}⏎⏎",
     {"highlight mark", "notify 'Keine neue Kopie..'"}},
    {"NewHighlightAgain", {{4, 1}, {4, 2}}, newText, "{TEXT}neu⏎⏎neu{/TEXT}⏎⏎",
     {"highlight mark", "highlight", "notify 'Text kopiert..'"}},
    {"AnotherKeyMayTakeIt", {{4, 1}, {2, 1}}, newText, "{TEXT}neu{/TEXT}⏎⏎{TITEL}neu{/TITEL}⏎⏎",
     {"highlight mark", "highlight", "notify 'Titel kopiert..'"}},
    {"HighlightWithoutText", {{4, 1}}, noText, "", {"highlight mark", "highlight", "notify ''"}},
    {"Untagged", {{11, 1}}, newText, "neu⏎⏎",
     {"highlight mark", "highlight", "notify 'Reinen Text angef\xFCgt..'"}},
};
// clang-format on

class HighlightCapture : public testing::TestWithParam<HighlightCase> {};

TEST_P(HighlightCapture, TakesOnlyWhatIsNewToTheKey) {
    const HighlightCase& c = GetParam();
    FakeWorld w;
    w.way = CopyWay::Highlight;
    w.enabled[11] = true;
    w.highlight = c.highlight;
    for (const auto& [id, mark] : c.presses) {
        w.highlightAt = mark;
        w.log.clear();
        w.press(id);
    }
    EXPECT_EQ(w.view.str(), doc(c.document));
    EXPECT_EQ(w.log, c.lastLog);
}

INSTANTIATE_TEST_SUITE_P(Rows, HighlightCapture, testing::ValuesIn(highlightCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A key that copied with Ctrl+C (in a browser) while the text was highlighted has had that
// text: in a terminal next it takes no highlight older than its copy; other keys still may.
TEST(HandleHotKey, CopyByKeystrokeCountsAsTakingTheHighlight) {
    FakeWorld w;
    w.highlightAt = 3;
    w.press(4);
    w.way = CopyWay::Highlight;
    w.press(4);
    w.press(2);
    EXPECT_EQ(w.view.str(), doc("{TEXT}X{/TEXT}⏎⏎{TITEL}markiert{/TITEL}⏎⏎"));
    w.highlightAt = 4;
    w.press(4);
    EXPECT_EQ(w.view.str(), doc("{TEXT}X⏎⏎markiert{/TEXT}⏎⏎{TITEL}markiert{/TITEL}⏎⏎"));
}

TEST(HandleHotKey, HighlightThatCannotBeReadStopsWithTheErrorBox) {
    FakeWorld w;
    w.way = CopyWay::Highlight;
    w.highlightAt = 1;
    w.highlight = {S::CannotOpen, ""};
    w.press(4);
    EXPECT_EQ(w.log, (Log{"highlight mark", "highlight",
                          "error 'Zwischenablage kann nicht ge\xF6"
                          "ffnet werden'"}));
}

// With the option on, a capture that gets fresh text puts the page's address offered beside
// it under QUELLE as key 1 would, unless that section holds it already; an old text (the
// copy did not land) brings none, whatever the clipboard offers beside it.
struct SourceCase {
    const char* name;
    std::string address; // offered beside every text
    std::vector<int> keys;
    const char* before;
    std::string after;
    bool recordOn = true;
    int copyAfterMs = 5; // negative: no copy lands
    CaseOption caseOpt = CaseOption::Normal;
    CopyWay way = CopyWay::Keystroke;
};
void PrintTo(const SourceCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string page = "http://127.0.0.1:8765/p.html";
const std::string longest = "http://a/" + std::string(MaxSourceAddressBytes - 9, 'x');
// clang-format off
const SourceCase sourceCases[] = {
    {"FreshText", page, {4}, "", "{TEXT}X{/TEXT}⏎⏎{QUELLE}" + page + "{/QUELLE}⏎⏎"},
    {"OnceForTwoCaptures", page, {4, 4}, "", "{TEXT}X⏎⏎X{/TEXT}⏎⏎{QUELLE}" + page + "{/QUELLE}⏎⏎"},
    {"Untagged", page, {11}, "", "X⏎⏎{QUELLE}" + page + "{/QUELLE}⏎⏎"},
    {"NewHighlight", page, {4}, "", "{TEXT}markiert{/TEXT}⏎⏎{QUELLE}" + page + "{/QUELLE}⏎⏎",
     true, 5, CaseOption::Normal, CopyWay::Highlight},
    {"OptionOff", page, {4}, "", "{TEXT}X{/TEXT}⏎⏎", false},
    {"NoAddress", "", {4}, "", "{TEXT}X{/TEXT}⏎⏎"},
    {"OldText", page, {4}, "", "{TEXT}alt{/TEXT}⏎⏎", true, -1},
    {"KeyOneTookIt", page, {4}, "{QUELLE}Zeitung⏎⏎http://127.0.0.1:8765/p.html{/QUELLE}⏎⏎",
     "{QUELLE}Zeitung⏎⏎" + page + "{/QUELLE}⏎⏎{TEXT}X{/TEXT}⏎⏎"},
    {"PartOfAPieceOnly", page, {4}, "{QUELLE}siehe http://127.0.0.1:8765/p.html{/QUELLE}⏎⏎",
     "{QUELLE}siehe " + page + "⏎⏎" + page + "{/QUELLE}⏎⏎{TEXT}X{/TEXT}⏎⏎"},
    {"UpperCaseOnce", page, {4, 4}, "", "{TEXT}X⏎⏎X{/TEXT}⏎⏎{QUELLE}HTTP://127.0.0.1:8765/P.HTML{/QUELLE}⏎⏎",
     true, 5, CaseOption::Upper},
    {"HttpsInCapitals", "HTTPS://a/", {4}, "", "{TEXT}X{/TEXT}⏎⏎{QUELLE}HTTPS://a/{/QUELLE}⏎⏎"},
    {"FileInWindows1252", "file:///tmp/gr\xC3\xBC\xC3\x9F\xE2\x82\xAC\xF0\x9F\x98\x80\xC3x", {4}, "",
     "{TEXT}X{/TEXT}⏎⏎{QUELLE}file:///tmp/gr\xFC\xDF\x80??x{/QUELLE}⏎⏎"},
    {"TrailingLineBreak", "http://a/\n", {4}, "", "{TEXT}X{/TEXT}⏎⏎{QUELLE}http://a/{/QUELLE}⏎⏎"},
    {"LineBreakInside", "http://a/\nb", {4}, "", "{TEXT}X{/TEXT}⏎⏎"},
    {"Ftp", "ftp://a/", {4}, "", "{TEXT}X{/TEXT}⏎⏎"},
    {"Longest", longest, {4}, "", "{TEXT}X{/TEXT}⏎⏎{QUELLE}" + longest + "{/QUELLE}⏎⏎"},
    {"TooLong", longest + "x", {4}, "", "{TEXT}X{/TEXT}⏎⏎"},
};
// clang-format on

class SourceAddress : public testing::TestWithParam<SourceCase> {};

TEST_P(SourceAddress, GoesUnderQuelleOnce) {
    const SourceCase& c = GetParam();
    FakeWorld w;
    w.enabled[11] = true;
    w.recordSource = c.recordOn;
    w.copyAfterMs = c.copyAfterMs;
    w.caseOpt = c.caseOpt;
    w.way = c.way;
    w.highlightAt = 1;
    w.clip.sourceAddress = w.old.sourceAddress = w.highlight.sourceAddress = c.address;
    w.view.setText(doc(c.before));
    for (int id : c.keys)
        w.press(id);
    EXPECT_EQ(shown(w.view.str()), shown(doc(c.after)));
}

INSTANTIATE_TEST_SUITE_P(Rows, SourceAddress, testing::ValuesIn(sourceCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quillet
