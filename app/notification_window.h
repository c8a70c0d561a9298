#pragma once

#include "services/services.h"

#include <QWidget>

class QLabel;
class QTimer;

namespace quillet {

// The notification window: one line of large text in the bottom-right corner of the
// screen, gone on the timer's second tick. It never takes the keyboard focus, so the
// next copy keystroke still reaches the program the user reads in.
class NotificationWindow : public QWidget, public Notifier {
    Q_OBJECT
public:
    explicit NotificationWindow(QWidget* parent = nullptr);

    // A status text in document bytes, as the operations give it.
    void showNotification(std::string_view statusText) override;
    void showText(const QString& text);

    QLabel* label() const { return label_; }
    QTimer* hideTimer() const { return hideTimer_; }
    int tickCount() const { return ticks_; }

public Q_SLOTS:
    void onHideTimerTick();

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void placeAndStartHideTimer();
    void placeInCorner();

    QLabel* label_;
    QTimer* hideTimer_;
    int ticks_ = 0;
};

} // namespace quillet
