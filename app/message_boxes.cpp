#include "app/message_boxes.h"

#include "platform/qt_text.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QPushButton>

#include <algorithm>
#include <utility>

namespace quillet {

namespace {

MessageBoxHook* activeHook = nullptr;

QString captionOf(BoxKind kind) {
    switch (kind) {
    case BoxKind::Error:
        return QStringLiteral("Fehler");
    case BoxKind::Warning:
        return QStringLiteral("Warnung");
    case BoxKind::Information:
        return QStringLiteral("Information");
    case BoxKind::Confirmation:
        break;
    }
    return QStringLiteral("Bestätigung");
}

QMessageBox::Icon iconOf(BoxKind kind) {
    switch (kind) {
    case BoxKind::Error:
        return QMessageBox::Critical;
    case BoxKind::Warning:
        return QMessageBox::Warning;
    case BoxKind::Information:
        return QMessageBox::Information;
    case BoxKind::Confirmation:
        break;
    }
    return QMessageBox::Question;
}

QString textOf(BoxButton button) {
    switch (button) {
    case BoxButton::Ok:
        return QStringLiteral("OK");
    case BoxButton::Yes:
        return QStringLiteral("&Ja");
    case BoxButton::No:
        return QStringLiteral("&Nein");
    case BoxButton::Cancel:
        break;
    }
    return QStringLiteral("Abbrechen");
}

QMessageBox::ButtonRole roleOf(BoxButton button) {
    switch (button) {
    case BoxButton::Ok:
        return QMessageBox::AcceptRole;
    case BoxButton::Yes:
        return QMessageBox::YesRole;
    case BoxButton::No:
        return QMessageBox::NoRole;
    case BoxButton::Cancel:
        break;
    }
    return QMessageBox::RejectRole;
}

// Escape cancels where it can, otherwise says no, otherwise acknowledges.
BoxButton escapeAnswer(const std::vector<BoxButton>& buttons) {
    for (BoxButton wanted : {BoxButton::Cancel, BoxButton::No})
        if (std::find(buttons.begin(), buttons.end(), wanted) != buttons.end())
            return wanted;
    return buttons.empty() ? BoxButton::Ok : buttons.back();
}

BoxButton runBox(QWidget* parent, const QString& caption, const QString& text,
                 QMessageBox::Icon icon, std::vector<BoxButton> buttons) {
    if (buttons.empty())
        buttons.push_back(BoxButton::Ok);
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
    std::vector<std::pair<QAbstractButton*, BoxButton>> made;
    for (BoxButton b : buttons)
        made.emplace_back(box.addButton(textOf(b), roleOf(b)), b);
    const BoxButton defaultAnswer = buttons.front();
    const BoxButton escape = escapeAnswer(buttons);
    for (const auto& [widget, b] : made) {
        if (b == defaultAnswer)
            box.setDefaultButton(static_cast<QPushButton*>(widget));
        if (b == escape)
            box.setEscapeButton(widget);
    }

    if (MessageBoxHook* hook = MessageBoxHook::active()) {
        ShownBox shown{box.windowTitle(),
                       box.text(),
                       box.icon(),
                       {},
                       box.defaultButton() ? box.defaultButton()->text() : QString(),
                       box.escapeButton() ? box.escapeButton()->text() : QString()};
        for (const auto& entry : made)
            shown.buttons << entry.first->text();
        return hook->respond(std::move(shown), defaultAnswer);
    }

    box.exec();
    for (const auto& [widget, b] : made)
        if (widget == box.clickedButton())
            return b;
    return escape;
}

} // namespace

void showGeneralError(QWidget* parent, const QString& message) {
    runBox(parent, QCoreApplication::applicationName(), message + QLatin1Char('.'),
           QMessageBox::Critical, {BoxButton::Ok});
}

BoxButton showMessageBox(QWidget* parent, const QString& text, BoxKind kind,
                         const std::vector<BoxButton>& buttons) {
    return runBox(parent, captionOf(kind), text, iconOf(kind), buttons);
}

void WindowMessageBoxes::showError(std::string_view message) {
    showMessageBox(&parent_, toDisplayText(message), BoxKind::Error, {BoxButton::Ok});
}

void WindowMessageBoxes::showInformation(std::string_view message) {
    showMessageBox(&parent_, toDisplayText(message), BoxKind::Information, {BoxButton::Ok});
}

bool WindowMessageBoxes::askWarning(std::string_view question) {
    return showMessageBox(&parent_, toDisplayText(question), BoxKind::Warning,
                          {BoxButton::Yes, BoxButton::No}) == BoxButton::Yes;
}

void WindowMessageBoxes::showGeneralError(std::string_view message) {
    quillet::showGeneralError(&parent_, toDisplayText(message));
}

MessageBoxHook::MessageBoxHook(std::deque<BoxButton> answers)
    : previous_(activeHook), answers_(std::move(answers)) {
    activeHook = this;
}

MessageBoxHook::~MessageBoxHook() {
    activeHook = previous_;
}

MessageBoxHook* MessageBoxHook::active() {
    return activeHook;
}

BoxButton MessageBoxHook::respond(ShownBox box, BoxButton defaultAnswer) {
    shown_.push_back(std::move(box));
    if (answers_.empty())
        return defaultAnswer;
    const BoxButton answer = answers_.front();
    answers_.pop_front();
    return answer;
}

} // namespace quillet
