#include "app/message_boxes.h"

#include <QApplication>
#include <QTest>

using namespace quillet;

namespace {

class MessageBoxesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void generalErrorBox() {
        QApplication::setApplicationName("Quillet d1401 (2009)");
        MessageBoxHook hook;
        showGeneralError(nullptr, "Datei C:\\a.txt kann nicht erstellt werden");
        QCOMPARE(hook.shown().size(), std::size_t(1));
        const ShownBox& box = hook.shown()[0];
        QCOMPARE(box.caption, QString("Quillet d1401 (2009)"));
        QCOMPARE(box.text, QString("Datei C:\\a.txt kann nicht erstellt werden."));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttons, QStringList{"OK"});
    }

    void kinds_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        QTest::newRow("error") << int(BoxKind::Error) << "Fehler" << int(QMessageBox::Critical);
        QTest::newRow("warning") << int(BoxKind::Warning) << "Warnung" << int(QMessageBox::Warning);
        QTest::newRow("information")
            << int(BoxKind::Information) << "Information" << int(QMessageBox::Information);
        QTest::newRow("confirmation")
            << int(BoxKind::Confirmation) << "Bestätigung" << int(QMessageBox::Question);
    }

    void kinds() {
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        MessageBoxHook hook;
        QCOMPARE(showMessageBox(nullptr, "Speicherpfad existiert nicht!", BoxKind(kind),
                                {BoxButton::Ok}),
                 BoxButton::Ok);
        const ShownBox& box = hook.shown().at(0);
        QCOMPARE(box.caption, caption);
        QCOMPARE(box.text, QString("Speicherpfad existiert nicht!"));
        QCOMPARE(int(box.icon), icon);
        QCOMPARE(box.buttons, QStringList{"OK"});
    }

    // Enter says yes, Escape says no.
    void questionButtons() {
        MessageBoxHook hook;
        showMessageBox(nullptr, "Weiter?", BoxKind::Confirmation, {BoxButton::Yes, BoxButton::No});
        const ShownBox& box = hook.shown().at(0);
        QCOMPARE(box.buttons, (QStringList{"&Ja", "&Nein"}));
        QCOMPARE(box.defaultButton, QString("&Ja"));
        QCOMPARE(box.escapeButton, QString("&Nein"));

        showMessageBox(nullptr, "Weiter?", BoxKind::Confirmation,
                       {BoxButton::Yes, BoxButton::No, BoxButton::Cancel});
        QCOMPARE(hook.shown().at(1).buttons, (QStringList{"&Ja", "&Nein", "Abbrechen"}));
        QCOMPARE(hook.shown().at(1).escapeButton, QString("Abbrechen"));
    }

    void hookAnswersInOrderThenWithTheDefault() {
        MessageBoxHook hook({BoxButton::No, BoxButton::Cancel});
        const std::vector<BoxButton> three{BoxButton::Yes, BoxButton::No, BoxButton::Cancel};
        QCOMPARE(showMessageBox(nullptr, "1", BoxKind::Confirmation, three), BoxButton::No);
        QCOMPARE(showMessageBox(nullptr, "2", BoxKind::Confirmation, three), BoxButton::Cancel);
        QCOMPARE(showMessageBox(nullptr, "3", BoxKind::Confirmation, three), BoxButton::Yes);
        QCOMPARE(hook.shown().size(), std::size_t(3));
    }

    void innerHookRecordsUntilItEnds() {
        MessageBoxHook outer;
        {
            MessageBoxHook inner;
            showGeneralError(nullptr, "innen");
            QCOMPARE(inner.shown().size(), std::size_t(1));
        }
        showGeneralError(nullptr, "au\u00DFen");
        QCOMPARE(outer.shown().size(), std::size_t(1));
        QCOMPARE(outer.shown()[0].text, QString("au\u00DFen."));
    }
};

} // namespace

QTEST_MAIN(MessageBoxesTest)
#include "message_boxes_test.moc"
