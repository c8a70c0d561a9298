#pragma once

#include "services/services.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

class QWidget;

namespace quillet {

enum class BoxKind { Error, Warning, Information, Confirmation };
enum class BoxButton { Ok, Yes, No, Cancel };

// The general error box: the message with a full stop added, the application title as
// caption, an error icon and one "OK".
void showGeneralError(QWidget* parent, const QString& message);

// A box of one kind with German title and buttons. Returns the button pressed; closing
// the box without a button gives the escape button's answer.
BoxButton showMessageBox(QWidget* parent, const QString& text, BoxKind kind,
                         const std::vector<BoxButton>& buttons);

// The operations' message boxes and the general error box, shown over one window; texts
// come as Windows-1252 document bytes.
class WindowMessageBoxes : public MessageBoxes, public FailureReporter {
public:
    explicit WindowMessageBoxes(QWidget& parent) : parent_(parent) {}

    void showError(std::string_view message) override;
    void showInformation(std::string_view message) override;
    bool askWarning(std::string_view question) override;
    void showGeneralError(std::string_view message) override;

private:
    QWidget& parent_;
};

// What a box would have shown; recorded instead of showing it while the hook is active.
struct ShownBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    QString escapeButton;
};

// Tests answer boxes through this instead of a modal dialog. While an object lives, every
// box is recorded and answered from the queue; an empty queue answers with the box's
// default button.
class MessageBoxHook {
public:
    explicit MessageBoxHook(std::deque<BoxButton> answers = {});
    ~MessageBoxHook();
    MessageBoxHook(const MessageBoxHook&) = delete;
    MessageBoxHook& operator=(const MessageBoxHook&) = delete;

    void answer(BoxButton button) { answers_.push_back(button); }
    const std::vector<ShownBox>& shown() const { return shown_; }

    // The hook in force, or nullptr; used by the boxes themselves.
    static MessageBoxHook* active();
    BoxButton respond(ShownBox box, BoxButton defaultAnswer);

private:
    MessageBoxHook* previous_;
    std::deque<BoxButton> answers_;
    std::vector<ShownBox> shown_;
};

} // namespace quillet
