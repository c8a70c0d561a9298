#include "app/textview_page.h"
#include "document/clean_text.h"
#include "document/sort_tags.h"
#include "platform/qt_text.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace quillet;

namespace {

const std::pair<const char*, std::string> documents[] = {
    {"empty", ""},
    {"broken paragraph",
     "Eine Zeile, die\r\nweitergeht.\r\n\r\nNeuer  Absatz mit Tren-\r\nnung.\r\n"},
    {"sections out of order", "{TEXT}Inhalt{/TEXT}\r\n\r\n{TITEL}Titel{/"
                              "TITEL}\r\n\r\nfrei\r\n\r\n{MEDIUM}Buch{/MEDIUM}\r\n\r\n"},
    {"high bytes", "\x80 M\xFC"
                   "ller\xA0und  \x96 Stra\xDF"
                   "e\r\n\r\n"},
};

class TextviewPageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void buttons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("document");
        for (const char* button : {"Button6", "Button4", "Button2"})
            for (int d = 0; d < int(std::size(documents)); ++d)
                QTest::addRow("%s %s", button, documents[d].first) << button << d;
    }

    // "Clean" and "Sort Tags" give what their routines give for the whole text; "Clear"
    // empties it, without asking.
    void buttons() {
        QFETCH(QString, button);
        QFETCH(int, document);
        const std::string& start = documents[document].second;
        TextviewPage page;
        page.document().setText(start);
        page.findChild<QPushButton*>(button)->click();

        std::string expected;
        if (button == "Button6")
            expected = cleanText(start);
        else if (button == "Button4")
            expected = sortTags(start);
        QCOMPARE(page.document().text(), expected);
        QCOMPARE(toDocumentText(page.findChild<QPlainTextEdit*>("Memo1")->document()->toRawText()),
                 expected);
    }
};

} // namespace

QTEST_MAIN(TextviewPageTest)
#include "textview_page_test.moc"
