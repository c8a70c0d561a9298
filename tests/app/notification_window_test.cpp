#include "app/notification_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace quillet;

namespace {

class TForm2Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowProperties() {
        TForm2 f;
        QCOMPARE(f.windowTitle(), QString("Information.."));
        QCOMPARE(f.size(), QSize(350, 45));
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY(f.isHidden());
        const Qt::WindowFlags flags = f.windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        // Shown without taking the keyboard from the program the user reads in.
        QVERIFY(flags & Qt::WindowDoesNotAcceptFocus);
        QVERIFY(f.testAttribute(Qt::WA_ShowWithoutActivating));

        QLabel* label = f.Label1();
        QCOMPARE(label->objectName(), QString("Label1"));
        QCOMPARE(label->pos(), QPoint(8, 8));
        QCOMPARE(label->font().family(), QString("Times New Roman"));
        QCOMPARE(label->font().pixelSize(), 27);
        QVERIFY(label->font().bold());
        QCOMPARE(label->text(), QString("Datei gespeichert..."));
        QCOMPARE(f.Timer1()->interval(), 700);
        QVERIFY(!f.Timer1()->isActive());
    }

    void showPlacesInTheBottomRightCorner() {
        TForm2 f;
        f.ShowNotification("Titel kopiert..");
        QVERIFY(f.isVisible());
        QCOMPARE(f.Label1()->text(), QString("Titel kopiert.."));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(f.frameGeometry().bottomRight(), screen.bottomRight());
        QVERIFY(f.Timer1()->isActive());
        QCOMPARE(f.tickCount(), 0);
    }

    void hiddenOnTheSecondTick() {
        TForm2 f;
        f.ShowNotification("Text kopiert..");
        f.Timer1Timer();
        QVERIFY(f.isVisible());
        QVERIFY(f.Timer1()->isActive());
        f.Timer1Timer();
        QVERIFY(!f.isVisible());
        QVERIFY(!f.Timer1()->isActive());
    }

    // A second text while visible replaces the first but does not restart the count.
    void alreadyVisibleKeepsCounting() {
        TForm2 f;
        f.ShowNotification("erste");
        f.Timer1Timer();
        f.ShowNotification("zweite");
        QCOMPARE(f.Label1()->text(), QString("zweite"));
        QCOMPARE(f.tickCount(), 1);
        f.Timer1Timer();
        QVERIFY(!f.isVisible());
    }

    // Closed early by the user: the running timer stops on its own; the next show counts
    // from zero again.
    void closedEarlyThenShownAgain() {
        TForm2 f;
        f.ShowNotification("erste");
        f.Timer1Timer();
        f.close();
        QVERIFY(!f.isVisible());
        QVERIFY(f.Timer1()->isActive());
        f.ShowNotification("zweite");
        QCOMPARE(f.tickCount(), 0);
        f.Timer1Timer();
        QVERIFY(f.isVisible());
        f.Timer1Timer();
        QVERIFY(!f.isVisible());
    }

    void emptyTextStillShows() {
        TForm2 f;
        f.ShowNotification(QString());
        QVERIFY(f.isVisible());
        QCOMPARE(f.Label1()->text(), QString());
    }

    void longTextDoesNotGrowTheWindow() {
        TForm2 f;
        f.ShowNotification(QString(80, QChar('W')));
        QCOMPARE(f.size(), QSize(350, 45));
    }

    // The real timer on a short interval: shown, then gone after two ticks.
    void realTimerHidesTheWindow() {
        TForm2 f;
        f.Timer1()->setInterval(15);
        f.ShowNotification("Quelle kopiert..");
        QVERIFY(f.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!f.isVisible(), 2000);
        QCOMPARE(f.tickCount(), 2);
        QVERIFY(!f.Timer1()->isActive());
    }
};

} // namespace

QTEST_MAIN(TForm2Test)
#include "notification_window_test.moc"
