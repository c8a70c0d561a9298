#include "app/notification_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMoveEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

namespace quillet {

TForm2::TForm2(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                          Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      label1_(new QLabel(this)), timer1_(new QTimer(this)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Information.."));
    setFixedSize(350, 45);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_QuitOnClose, false);
    setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    label1_->setObjectName(QStringLiteral("Label1"));
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("Nimbus Roman"),
                                QStringLiteral("Times"), QStringLiteral("DejaVu Serif")});
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(27);
    font.setBold(true);
    label1_->setFont(font);
    label1_->setForegroundRole(QPalette::WindowText);
    label1_->move(8, 8);
    label1_->setText(QStringLiteral("Datei gespeichert..."));
    label1_->adjustSize();

    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(700);
    connect(timer1_, &QTimer::timeout, this, &TForm2::Timer1Timer);
}

void TForm2::ShowNotification(const QString& text) {
    label1_->setText(text);
    label1_->adjustSize();
    show();
    raise();
}

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Spontaneous show events come from the window system (e.g. a desktop switch), not
    // from the window becoming visible.
    if (!event->spontaneous())
        FormShow();
}

void TForm2::placeInCorner() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect outer = frameGeometry();
    if (outer.bottomRight() != screen.bottomRight())
        move(screen.right() + 1 - outer.width(), screen.bottom() + 1 - outer.height());
}

void TForm2::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The window manager adds its frame only after the first show; until the first tick
    // the window follows it back into the corner.
    if (ticks_ == 0 && timer1_->isActive() && isVisible())
        placeInCorner();
}

void TForm2::FormShow() {
    placeInCorner();
    ticks_ = 0;
    // Enabling a running timer does not restart its period.
    if (!timer1_->isActive())
        timer1_->start();
}

void TForm2::Timer1Timer() {
    ++ticks_;
    if (ticks_ == 2) {
        timer1_->stop();
        close();
    }
}

} // namespace quillet
