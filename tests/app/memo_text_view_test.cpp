#include "app/memo_text_view.h"
#include "capture/tagged_insertion.h"
#include "platform/qt_text.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>

#include <functional>
#include <vector>

using namespace quillet;

namespace {

// Memo1 read and written only as a whole: the rule the cursor edits must reproduce.
class WholeTextMemo : public TextView {
public:
    explicit WholeTextMemo(QPlainTextEdit& memo) : memo_(memo) {}
    std::string text() const override { return toDocumentText(memo_.document()->toRawText()); }
    void setText(std::string_view text) override { memo_.setPlainText(toDisplayText(text)); }

private:
    QPlainTextEdit& memo_;
};

using Step = std::function<void(TextView&)>;

Step tagged(std::string tag, std::string text, CaseOption option = CaseOption::Normal) {
    return [=](TextView& v) { insertTagged(v, tag, text, option); };
}
Step line(std::string text) {
    return [=](TextView& v) { appendLine(v, text); };
}

// Documents as a capture may find them: empty, typed without a final break, with
// sections, with bytes a text control may mishandle.
const std::vector<std::pair<const char*, std::string>> documents{
    {"empty", ""},
    {"typed without break", "Notiz"},
    {"ends with break", "Notiz\r\n"},
    {"one section", "{TEXT}a{/TEXT}\r\n\r\n"},
    {"two sections same tag", "{TEXT}a{/TEXT}\r\n\r\n{TEXT}b{/TEXT}\r\n\r\n"},
    {"closing marker only", "vorher {/TEXT} nachher"},
    {"opening marker only", "{TEXT}offen\r\n"},
    {"high bytes", "\x80 \xA0 \xE4\xF6\xFC\xDF \x81\x8D\x8F\x90\x9D \xFF\r\n"},
    {"control bytes", std::string("a\tb\x01\x1F", 6) + "\r\n"},
    {"nul byte", std::string("vor\0nach\r\n", 10)},
    {"many lines",
     [] {
         std::string s;
         for (int i = 0; i < 500; ++i)
             s += "{TITEL}Zeile " + std::to_string(i) + "{/TITEL}\r\n\r\n";
         return s;
     }()},
    {"lone breaks", "a\rb\nc\r\n"},
};

// Capture sequences; the texts hold the line breaks and bytes a clipboard can deliver.
const std::vector<std::pair<const char*, std::vector<Step>>> sequences{
    {"new section", {tagged("TEXT", "X")}},
    {"merge twice", {tagged("TEXT", "X"), tagged("TEXT", "Y"), tagged("TEXT", "Z")}},
    {"several tags", {tagged("TITEL", "T"), tagged("TEXT", "X"), tagged("TITEL", "U")}},
    {"multi-line text", {tagged("TEXT", "eins\r\nzwei\r\n"), tagged("TEXT", "\r\ndrei")}},
    {"empty text", {tagged("TEXT", ""), tagged("TEXT", "")}},
    {"untagged lines", {line("frei"), line(""), line("noch"), line("")}},
    {"high bytes", {tagged("AUTOR", "M\xFCller \x80 \xA0"), tagged("AUTOR", "\x81")}},
    {"case",
     {tagged("TITEL", "Gro\xDF", CaseOption::Upper), tagged("TITEL", "ABC", CaseOption::Lower)}},
    {"lone breaks in text", {tagged("TEXT", "a\nb"), line("c\rd"), tagged("TEXT", "e\r")}},
    {"empty tag", {tagged("", "leer"), tagged("", "auch")}},
};

bool hasLoneBreak(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n'))
            return true;
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r'))
            return true;
    }
    return false;
}

class MemoTextViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sameAsTheWholeTextRule_data() {
        QTest::addColumn<int>("document");
        QTest::addColumn<int>("sequence");
        for (int d = 0; d < int(documents.size()); ++d)
            for (int s = 0; s < int(sequences.size()); ++s)
                QTest::addRow("%s / %s", documents[d].first, sequences[s].first) << d << s;
    }

    void sameAsTheWholeTextRule() {
        QFETCH(int, document);
        QFETCH(int, sequence);
        const std::string& start = documents[document].second;

        QPlainTextEdit edited, whole;
        MemoTextView view(edited);
        WholeTextMemo reference(whole);
        view.setText(start);
        reference.setText(start);
        StringTextView plain(start);
        bool plainComparable = !hasLoneBreak(start);

        for (const Step& step : sequences[sequence].second) {
            step(view);
            step(reference);
            step(plain);
            QCOMPARE(view.text(), reference.text());
            QCOMPARE(toDocumentText(edited.document()->toRawText()), view.text());
            QCOMPARE(edited.document()->toRawText(), whole.document()->toRawText());
            plainComparable = plainComparable && !hasLoneBreak(plain.str());
            if (plainComparable)
                QCOMPARE(view.text(), plain.str());
        }
    }

    void charactersOfTwoUnitsOrSeveralCodePoints_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("sequence");
        const std::pair<const char*, QString> pastes[] = {
            {"emoji", QString::fromUtf16(u"\U0001F600")},
            {"several emoji", QString::fromUtf16(u"\U0001F600x\U0001F44D\U0001F3FD\U00010348\n")},
            {"combining", QString::fromUtf16(u"e\u0301a\u0308\u0323 \U0001F1E9\U0001F1EA")},
        };
        for (const auto& [name, text] : pastes)
            for (int at : {0, 7})
                for (int s = 0; s < int(sequences.size()); ++s)
                    QTest::addRow("%s at %d / %s", name, at, sequences[s].first) << text << at << s;
    }

    // The user pastes characters that the control keeps as two UTF-16 units or as a base
    // letter with combining marks; the captures behind them still land where the whole
    // text rule puts them, and each such character is one "?" in the document.
    void charactersOfTwoUnitsOrSeveralCodePoints() {
        QFETCH(QString, pasted);
        QFETCH(int, at);
        QFETCH(int, sequence);
        QPlainTextEdit edited, whole;
        MemoTextView view(edited);
        WholeTextMemo reference(whole);
        for (QPlainTextEdit* memo : {&edited, &whole}) {
            memo->setPlainText(QStringLiteral("{TEXT}a{/TEXT}\n\n"));
            QTextCursor cursor(memo->document());
            cursor.setPosition(at);
            cursor.insertText(pasted);
        }
        for (const Step& step : sequences[sequence].second) {
            step(view);
            step(reference);
            QCOMPARE(toDocumentText(edited.document()->toRawText()), reference.text());
            QCOMPARE(view.text(), reference.text());
        }
    }

    // toPlainText() would give spaces for no-break spaces (Windows-1252 byte A0).
    void noBreakSpaceSurvives() {
        QPlainTextEdit memo;
        MemoTextView view(memo);
        view.setText("a\xA0"
                     "b");
        memo.insertPlainText(QStringLiteral("\u00A0"));
        QCOMPARE(view.text(), std::string("\xA0"
                                          "a\xA0"
                                          "b"));
    }

    // What the user types between two captures is part of the document the next one sees.
    void userEditsAreSeenByTheNextCapture() {
        QPlainTextEdit memo;
        MemoTextView view(memo);
        insertTagged(view, "TEXT", "X", CaseOption::Normal);
        QTextCursor cursor(memo.document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("getippt {/TITEL}"));
        insertTagged(view, "TITEL", "T", CaseOption::Normal);
        insertTagged(view, "TEXT", "Y", CaseOption::Normal);
        QCOMPARE(view.text(),
                 std::string("{TEXT}X\r\n\r\nY{/TEXT}\r\n\r\ngetippt \r\n\r\nT{/TITEL}"));

        memo.selectAll();
        memo.cut();
        QVERIFY(view.isEmpty());
        appendLine(view, "neu");
        QCOMPARE(view.text(), std::string("neu\r\n"));
    }

    // The user's caret stays where it was when a capture lands elsewhere.
    void captureKeepsTheUserCaret() {
        QPlainTextEdit memo;
        MemoTextView view(memo);
        view.setText("{TEXT}a{/TEXT}\r\n\r\nEnde");
        QTextCursor caret = memo.textCursor();
        caret.movePosition(QTextCursor::End);
        memo.setTextCursor(caret);
        insertTagged(view, "TEXT", "b", CaseOption::Normal);
        QCOMPARE(memo.textCursor().position(), memo.document()->characterCount() - 1);
        QVERIFY(!memo.textCursor().hasSelection());
    }
};

} // namespace

QTEST_MAIN(MemoTextViewTest)
#include "memo_text_view_test.moc"
