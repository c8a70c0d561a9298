#include "capture/capture_table.h"
#include "support/capture_fakes.h"
#include "support/notation.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::doc;
using test::FakeWorld;
using Log = std::vector<std::string>;

// Every tagged key on an empty document: keystroke, both waits, clipboard, section, status.
TEST(HandleHotKey, EveryTaggedKeyCapturesUnderItsTag) {
    for (const CaptureRow& row : captureTable()) {
        if (row.action != CaptureAction::Tagged)
            continue;
        FakeWorld w;
        w.enabled[row.id] = true;
        w.press(row.id);
        const std::string tag = row.id == 8 ? "8" : row.id == 9 ? "9" : std::string(row.tag);
        EXPECT_EQ(w.view.str(), "{" + tag + "}X{/" + tag + "}\r\n\r\n") << row.id;
        EXPECT_EQ(w.log, (Log{"ctrl+c", "sleep 20", "sleep 300", "clipboard",
                              "notify '" + std::string(row.status) + "'"}))
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
    EXPECT_EQ(w.log, (Log{"ctrl+c", "sleep 20", "notify 'Aufnahmedatum eingef\xFCgt..'"}));
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

TEST(HandleHotKey, UncheckedBoxOnlySendsTheKeystrokeAndAnEmptyNotification) {
    FakeWorld w;
    w.enabled[4] = false;
    w.press(4);
    EXPECT_EQ(w.view.str(), "");
    EXPECT_EQ(w.log, (Log{"ctrl+c", "sleep 20", "notify ''"}));
}

// A file that cannot be created ends the handling at its error box: no notification.
TEST(HandleHotKey, FailedSaveShowsNoNotification) {
    FakeWorld w;
    w.saveStatus = std::nullopt;
    w.press(10);
    EXPECT_EQ(w.log, (Log{"ctrl+c", "sleep 20", "save"}));
}

TEST(HandleHotKey, ClipboardWithoutTextInsertsNothing) {
    FakeWorld w;
    w.clip.status = ClipboardText::Status::NoText;
    w.press(4);
    EXPECT_EQ(w.view.str(), "");
    EXPECT_EQ(w.log, (Log{"ctrl+c", "sleep 20", "sleep 300", "clipboard", "notify ''"}));
}

TEST(HandleHotKey, ClipboardThatCannotBeOpenedStopsWithTheErrorBox) {
    FakeWorld w;
    w.clip.status = ClipboardText::Status::CannotOpen;
    w.press(4);
    EXPECT_EQ(w.view.str(), "");
    EXPECT_EQ(w.log, (Log{"ctrl+c", "sleep 20", "sleep 300", "clipboard",
                          "error 'Zwischenablage kann nicht ge\xF6"
                          "ffnet werden'"}));
}

TEST(HandleHotKey, SaveKeyHandsOnAndShowsTheSaveStatus) {
    FakeWorld w;
    w.saveStatus = "Kein Text zum Speichern..";
    w.press(10);
    EXPECT_EQ(w.log, (Log{"ctrl+c", "sleep 20", "save", "notify 'Kein Text zum Speichern..'"}));
    w.log.clear();
    w.enabled[10] = false;
    w.press(10);
    EXPECT_EQ(w.log, (Log{"ctrl+c", "sleep 20", "notify ''"}));
}

TEST(HandleHotKey, CtrlYMinimizesAndRestoresWithoutNotification) {
    FakeWorld w;
    w.press(15);
    w.press(15);
    EXPECT_EQ(w.log, (Log{"ctrl+c", "sleep 20", "minimize", "ctrl+c", "sleep 20", "restore"}));
    w.log.clear();
    w.enabled[15] = false;
    w.press(15);
    EXPECT_EQ(w.log, (Log{"ctrl+c", "sleep 20"}));
}

TEST(HandleHotKey, AuthorKeyFollowsItsOwnBox) {
    FakeWorld w;
    w.enabled[1] = false;
    w.press(12);
    EXPECT_EQ(w.view.str(), doc("{AUTOR}X{/AUTOR}⏎⏎"));
}

TEST(HandleHotKey, UnknownIdentifierOnlySendsTheKeystroke) {
    FakeWorld w;
    w.press(17);
    w.press(0);
    EXPECT_EQ(w.log, (Log{"ctrl+c", "sleep 20", "ctrl+c", "sleep 20"}));
}

} // namespace
} // namespace quillet
