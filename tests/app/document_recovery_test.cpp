#include "app/document_recovery.h"
#include "app/message_boxes.h"
#include "app/textview_page.h"
#include "support/window_fakes.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocumentFragment>

#include <random>

using namespace quillet;

namespace {

// A window that keeps its copy in a folder of the test.
struct Harness : test::FakeWindow {
    explicit Harness(const QString& folder) : FakeWindow(folder) {}
    QPlainTextEdit& memo() const { return *form->findChild<QPlainTextEdit*>("Memo1"); }
    std::string document() const { return form->textviewPage().document().text(); }
    void capture(const std::string& text) {
        journal.clip = {ClipboardText::Status::Text, text};
        press(4);
    }
};

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

class DocumentRecoveryTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString folder = dir.filePath("Quillet");
    QString copyPath = dir.filePath("Quillet/unsaved-document.txt");

    void leaveCopy(const QByteArray& bytes) {
        QVERIFY(QDir().mkpath(folder));
        QFile file(copyPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private Q_SLOTS:
    void cleanup() { QDir(folder).removeRecursively(); }

    void copyFollowsTheDocument_data() {
        QTest::addColumn<QString>("emptying");
        for (const char* way : {"Save and New", "F10", "Clear", "deleting the text"})
            QTest::newRow(way) << way;
    }

    // Captures and typing reach the copy; whatever empties the document removes it.
    void copyFollowsTheDocument() {
        QFETCH(QString, emptying);
        Harness h(folder);
        MessageBoxHook boxes;
        h.form->findChild<QLineEdit*>("Edit1")->setText(dir.path());
        h.form->startRecovery();
        h.capture("Gr\xFC\xDF"
                  "e \x80");
        QTRY_COMPARE(contentOf(copyPath), QByteArray::fromStdString(h.document()));
        h.memo().moveCursor(QTextCursor::End);
        h.memo().insertPlainText(QStringLiteral("getippt \u00E4"));
        QTRY_COMPARE(contentOf(copyPath), QByteArray("{TEXT}Gr\xFC\xDF"
                                                     "e \x80{/TEXT}\r\n\r\ngetippt \xE4"));

        if (emptying == "Save and New")
            h.form->findChild<QPushButton*>("Button1")->click();
        else if (emptying == "F10")
            h.press(10);
        else if (emptying == "Clear")
            h.form->findChild<QPushButton*>("Button2")->click();
        else
            h.memo().clear();
        QCOMPARE(h.document(), std::string());
        QTRY_VERIFY(!QFile::exists(copyPath));
        QVERIFY(boxes.shown().empty());
    }

    void offersTheCopyAtStart_data() {
        QTest::addColumn<BoxButton>("answer");
        QTest::addColumn<QByteArray>("meanwhile");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray left("{TITEL}alt \xE4{/TITEL}\r\n\r\nNotiz");
        QTest::newRow("Ja") << BoxButton::Yes << QByteArray() << left;
        QTest::newRow("Ja after a capture")
            << BoxButton::Yes << QByteArray("{TEXT}neu{/TEXT}\r\n\r\n")
            << left + "\r\n{TEXT}neu{/TEXT}\r\n\r\n";
        QTest::newRow("Nein") << BoxButton::No << QByteArray() << QByteArray();
    }

    // "Ja" puts the copy into the text view, before anything captured while the question
    // was open; "Nein" throws it away.
    void offersTheCopyAtStart() {
        QFETCH(BoxButton, answer);
        QFETCH(QByteArray, meanwhile);
        QFETCH(QByteArray, expected);
        leaveCopy("{TITEL}alt \xE4{/TITEL}\r\n\r\nNotiz");
        Harness h(folder);
        h.form->textviewPage().document().setText(meanwhile.toStdString());
        MessageBoxHook boxes({answer});
        h.form->startRecovery();

        QCOMPARE(boxes.shown().size(), std::size_t(1));
        QCOMPARE(boxes.shown()[0].caption, QString("Bestätigung"));
        QCOMPARE(boxes.shown()[0].text, QString("Das Dokument der letzten Sitzung wurde nicht "
                                                "gespeichert. Soll es wiederhergestellt werden?"));
        QCOMPARE(boxes.shown()[0].buttons, (QStringList{"&Ja", "&Nein"}));
        QCOMPARE(QByteArray::fromStdString(h.document()), expected);
        QTRY_COMPARE(contentOf(copyPath), expected.isEmpty() ? QByteArray("(none)") : expected);
    }

    // The second window says so and leaves the first one's copy alone, also when it closes.
    void aSecondWindowKeepsNoCopy() {
        Harness first(folder);
        first.form->startRecovery();
        first.capture("erste");
        QTRY_COMPARE(contentOf(copyPath), QByteArray("{TEXT}erste{/TEXT}\r\n\r\n"));

        MessageBoxHook boxes;
        auto second = std::make_unique<Harness>(folder);
        second->form->startRecovery();
        QCOMPARE(boxes.shown().size(), std::size_t(1));
        QCOMPARE(boxes.shown()[0].caption, QString("Warnung"));
        QVERIFY(boxes.shown()[0].text.startsWith("Quillet läuft bereits."));
        QVERIFY(!second->form->recovery()->isKeepingCopy());
        second->capture("zweite");
        second->form->textviewPage().document().setText({});
        QTest::qWait(400);
        second.reset();
        QCOMPARE(contentOf(copyPath), QByteArray("{TEXT}erste{/TEXT}\r\n\r\n"));
    }

    // Closing asks nothing; what changed since the last copy is copied on the way out.
    void closingCopiesTheLastChange() {
        MessageBoxHook boxes;
        {
            Harness h(folder);
            h.form->startRecovery();
            h.form->recovery()->setDelay(60'000);
            h.capture("zuletzt");
        }
        QCOMPARE(contentOf(copyPath), QByteArray("{TEXT}zuletzt{/TEXT}\r\n\r\n"));
        QVERIFY(boxes.shown().empty());
    }

    // Typing, pasting, deleting, undoing and captures in random order: the copy, fed only
    // with the pieces that changed, always ends up as the document's bytes.
    void copyFollowsRandomEdits() {
        Harness h(folder);
        h.form->startRecovery();
        h.form->recovery()->setDelay(0);
        const QString pieces[] = {"a",
                                  "Wort ",
                                  "\n",
                                  "\n\n",
                                  QString::fromUtf16(u"\U0001F600"),
                                  QString::fromUtf16(u"e\u0301\u00A0\u20AC")};
        std::mt19937 rng(7);
        for (int round = 0; round < 300; ++round) {
            QTextCursor cursor(h.memo().document());
            const int length = h.memo().document()->characterCount() - 1;
            cursor.setPosition(int(rng() % (length + 1)));
            switch (rng() % 7) {
            case 6: // a paste over a selection, at times of everything
                if (rng() % 3 == 0)
                    cursor.select(QTextCursor::Document);
                else
                    cursor.setPosition(int(rng() % (length + 1)), QTextCursor::KeepAnchor);
                cursor.insertFragment(
                    QTextDocumentFragment::fromPlainText(pieces[rng() % std::size(pieces)]));
                break;
            case 0:
                cursor.setPosition(int(rng() % (length + 1)), QTextCursor::KeepAnchor);
                cursor.removeSelectedText();
                break;
            case 1:
                h.memo().setTextCursor(cursor);
                h.memo().undo();
                break;
            case 2:
                h.capture("Satz\r\n" + std::to_string(round));
                break;
            default:
                cursor.insertText(pieces[rng() % std::size(pieces)]);
            }
            if (round % 7 == 0) {
                h.form->recovery()->writeNow();
                QCOMPARE(contentOf(copyPath),
                         h.document().empty() ? "(none)" : QByteArray::fromStdString(h.document()));
            }
        }
    }

    // A copy that cannot be written is reported once, not after every change.
    void aFailedWriteIsReportedOnce() {
        QVERIFY(QDir().mkpath(copyPath));
        Harness h(folder);
        MessageBoxHook boxes;
        h.form->startRecovery();
        h.capture("eins");
        QTRY_COMPARE(boxes.shown().size(), std::size_t(1));
        QCOMPARE(boxes.shown()[0].text, "Datei " + copyPath + " kann nicht erstellt werden.");
        h.capture("zwei");
        QTest::qWait(400);
        QCOMPARE(boxes.shown().size(), std::size_t(1));
    }
};

} // namespace

QTEST_MAIN(DocumentRecoveryTest)
#include "document_recovery_test.moc"
