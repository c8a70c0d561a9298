#include "app/notification_window.h"

#include "platform/qt_text.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMoveEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

namespace quillet {

NotificationWindow::NotificationWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      label_(new QLabel(this)), hideTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Information.."));
    setFixedSize(350, 45);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    label_->setObjectName(QStringLiteral("Label1"));
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("Nimbus Roman"),
                                QStringLiteral("Times"), QStringLiteral("DejaVu Serif")});
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(27);
    font.setBold(true);
    label_->setFont(font);
    label_->setForegroundRole(QPalette::WindowText);
    label_->move(8, 8);
    label_->setText(QStringLiteral("Datei gespeichert..."));
    label_->adjustSize();

    hideTimer_->setObjectName(QStringLiteral("Timer1"));
    hideTimer_->setInterval(700);
    connect(hideTimer_, &QTimer::timeout, this, &NotificationWindow::onHideTimerTick);
}

void NotificationWindow::showNotification(std::string_view statusText) {
    showText(toDisplayText(statusText));
}

void NotificationWindow::showText(const QString& text) {
    label_->setText(text);
    label_->adjustSize();
    show();
    raise();
}

void NotificationWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Spontaneous show events come from the window system (e.g. a desktop switch), not
    // from the window becoming visible.
    if (!event->spontaneous())
        placeAndStartHideTimer();
}

void NotificationWindow::placeInCorner() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect outer = frameGeometry();
    if (outer.bottomRight() != screen.bottomRight())
        move(screen.right() + 1 - outer.width(), screen.bottom() + 1 - outer.height());
}

void NotificationWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The window manager adds its frame only after the first show; until the first tick
    // the window follows it back into the corner.
    if (ticks_ == 0 && hideTimer_->isActive() && isVisible())
        placeInCorner();
}

void NotificationWindow::placeAndStartHideTimer() {
    placeInCorner();
    ticks_ = 0;
    // Enabling a running timer does not restart its period.
    if (!hideTimer_->isActive())
        hideTimer_->start();
}

void NotificationWindow::onHideTimerTick() {
    ++ticks_;
    if (ticks_ == 2) {
        hideTimer_->stop();
        close();
    }
}

} // namespace quillet
