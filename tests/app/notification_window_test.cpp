#include "app/notification_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace quillet;

namespace {

class NotificationWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowProperties() {
        NotificationWindow f;
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

        QLabel* label = f.label();
        QCOMPARE(label->objectName(), QString("Label1"));
        QCOMPARE(label->pos(), QPoint(8, 8));
        QCOMPARE(label->font().family(), QString("Times New Roman"));
        QCOMPARE(label->font().pixelSize(), 27);
        QVERIFY(label->font().bold());
        QCOMPARE(label->text(), QString("Datei gespeichert..."));
        QCOMPARE(f.hideTimer()->interval(), 700);
        QVERIFY(!f.hideTimer()->isActive());
    }

    void showPlacesInTheBottomRightCorner() {
        NotificationWindow f;
        f.showNotification("Titel kopiert..");
        QVERIFY(f.isVisible());
        QCOMPARE(f.label()->text(), QString("Titel kopiert.."));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(f.frameGeometry().bottomRight(), screen.bottomRight());
        QVERIFY(f.hideTimer()->isActive());
        QCOMPARE(f.tickCount(), 0);
    }

    void hiddenOnTheSecondTick() {
        NotificationWindow f;
        f.showNotification("Text kopiert..");
        f.onHideTimerTick();
        QVERIFY(f.isVisible());
        QVERIFY(f.hideTimer()->isActive());
        f.onHideTimerTick();
        QVERIFY(!f.isVisible());
        QVERIFY(!f.hideTimer()->isActive());
    }

    // A second text while visible replaces the first but does not restart the count.
    void alreadyVisibleKeepsCounting() {
        NotificationWindow f;
        f.showNotification("erste");
        f.onHideTimerTick();
        f.showNotification("zweite");
        QCOMPARE(f.label()->text(), QString("zweite"));
        QCOMPARE(f.tickCount(), 1);
        f.onHideTimerTick();
        QVERIFY(!f.isVisible());
    }

    // Closed early by the user: the running timer stops on its own; the next show counts
    // from zero again.
    void closedEarlyThenShownAgain() {
        NotificationWindow f;
        f.showNotification("erste");
        f.onHideTimerTick();
        f.close();
        QVERIFY(!f.isVisible());
        QVERIFY(f.hideTimer()->isActive());
        f.showNotification("zweite");
        QCOMPARE(f.tickCount(), 0);
        f.onHideTimerTick();
        QVERIFY(f.isVisible());
        f.onHideTimerTick();
        QVERIFY(!f.isVisible());
    }

    void emptyTextStillShows() {
        NotificationWindow f;
        f.showText(QString());
        QVERIFY(f.isVisible());
        QCOMPARE(f.label()->text(), QString());
    }

    void longTextDoesNotGrowTheWindow() {
        NotificationWindow f;
        f.showText(QString(80, QChar('W')));
        QCOMPARE(f.size(), QSize(350, 45));
    }

    // The real timer on a short interval: shown, then gone after two ticks.
    void realTimerHidesTheWindow() {
        NotificationWindow f;
        f.hideTimer()->setInterval(15);
        f.showNotification("Quelle kopiert..");
        QVERIFY(f.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!f.isVisible(), 2000);
        QCOMPARE(f.tickCount(), 2);
        QVERIFY(!f.hideTimer()->isActive());
    }
};

} // namespace

QTEST_MAIN(NotificationWindowTest)
#include "notification_window_test.moc"
