#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace quillet {

// The notification window: one line of large text in the bottom-right corner of the
// screen, gone on the timer's second tick. It never takes the keyboard focus, so the
// next copy keystroke still reaches the program the user reads in.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    void ShowNotification(const QString& text);

    QLabel* Label1() const { return label1_; }
    QTimer* Timer1() const { return timer1_; }
    int tickCount() const { return ticks_; }

public Q_SLOTS:
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void FormShow();
    void placeInCorner();

    QLabel* label1_;
    QTimer* timer1_;
    int ticks_ = 0;
};

} // namespace quillet
