#include "app/document_recovery.h"

#include "app/memo_text_view.h"
#include "app/message_boxes.h"
#include "files/text_file.h"
#include "platform/qt_text.h"

#include <QDir>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextDocument>

namespace quillet {

namespace {

// Short enough that a crash right after a capture finds it copied, long enough that a
// burst of typing is copied once.
constexpr int DefaultDelayMs = 200;

std::string followedBy(std::string first, std::string_view second) {
    if (first.size() < 2 || first.compare(first.size() - 2, 2, "\r\n") != 0)
        first += "\r\n";
    first += second;
    return first;
}

} // namespace

DocumentRecovery::DocumentRecovery(MemoTextView& view, const QString& folder, QWidget& window)
    : view_(view), shown_(*view.control().document()), window_(window), copy_(nativePath(folder)) {
    timer_.setSingleShot(true);
    timer_.setInterval(DefaultDelayMs);
    connect(&timer_, &QTimer::timeout, this, &DocumentRecovery::writeChanges);
    connect(&shown_, &QTextDocument::contentsChange, this, &DocumentRecovery::follow);
    connect(&shown_, &QTextDocument::contentsChanged, this, &DocumentRecovery::documentChanged);
    // The end of a desktop session may end the program without closing its window.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, &DocumentRecovery::writeNow);
}

DocumentRecovery::~DocumentRecovery() {
    if (!writer_)
        return;
    if (changed_) {
        // The last copy is taken from the whole text, whatever the changes said.
        resync();
        writer_->submit([this] { return mirror_.documentText(); });
    }
    // Waits for what was handed over; the thread ends before this object does.
    writer_.reset();
}

QString DocumentRecovery::standardFolder() {
    // Named on purpose: the application name is the program's title, which makes a poor
    // folder name.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : QDir(data).filePath(QStringLiteral("Quillet"));
}

void DocumentRecovery::start() {
    if (writer_)
        return;
    switch (copy_.claim()) {
    case RecoveryCopy::Claim::Claimed:
        break;
    case RecoveryCopy::Claim::HeldByAnother:
        showMessageBox(&window_,
                       QStringLiteral("Quillet läuft bereits. Von diesem Fenster wird keine "
                                      "Sicherungskopie angelegt: Nicht gespeicherter Text geht "
                                      "beim Schließen verloren."),
                       BoxKind::Warning, {BoxButton::Ok});
        return;
    case RecoveryCopy::Claim::Failed:
        showGeneralError(&window_, toDisplayText(cannotCreateMessage(copy_.lockPath())));
        return;
    }

    if (std::optional<std::string> left = copy_.leftOver()) {
        const BoxButton answer = showMessageBox(
            &window_,
            QStringLiteral("Das Dokument der letzten Sitzung wurde nicht gespeichert. Soll es "
                           "wiederhergestellt werden?"),
            BoxKind::Confirmation, {BoxButton::Yes, BoxButton::No});
        if (answer == BoxButton::Yes) {
            // A capture may have come in while the question was open; it goes behind.
            view_.setText(shown_.isEmpty() ? std::move(*left)
                                           : followedBy(std::move(*left), view_.text()));
        } else {
            copy_.store({});
        }
    }

    resync();
    writer_ = std::make_unique<RecoveryWriter>(copy_, [this](bool ok) {
        QMetaObject::invokeMethod(
            this, [this, ok] { written(ok); }, Qt::QueuedConnection);
    });
    // What the window holds now, restored or captured meanwhile, is copied from here on.
    documentChanged();
}

// The control reports each change as the units removed and added at one place; handing
// over just the added piece keeps typing in a large document cheap. Where the report does
// not add up (a whole new text comes in two reports), the whole text follows later.
void DocumentRecovery::follow(int position, int removed, int added) {
    if (!writer_ || !inStep_)
        return;
    const int length = shown_.characterCount();
    if (position < 0 || removed < 0 || added < 0 || position + removed > mirrorLength_ ||
        position + added > length || mirrorLength_ - removed + added != length) {
        inStep_ = false;
        return;
    }
    QString piece;
    if (added > 0) {
        // The break that ends the last line cannot be selected.
        const int end = std::min(position + added, length - 1);
        QTextCursor cursor(&shown_);
        cursor.setPosition(position);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        piece = cursor.selectedText();
        if (end < position + added)
            piece += QChar::ParagraphSeparator;
    }
    mirror_.change(position, removed, piece);
    mirrorLength_ = length;
}

void DocumentRecovery::resync() {
    mirror_.replaceAll(shown_.toRawText() + QChar::ParagraphSeparator);
    mirrorLength_ = shown_.characterCount();
    inStep_ = true;
}

void DocumentRecovery::documentChanged() {
    if (!writer_)
        return;
    if (shown_.isEmpty()) {
        // Nothing to lose: the copy goes at once.
        resync();
        timer_.stop();
        changed_ = false;
        writer_->submit([this] { return mirror_.documentText(); });
        return;
    }
    changed_ = true;
    if (!timer_.isActive())
        timer_.start();
}

void DocumentRecovery::writeChanges() {
    if (!writer_ || !changed_)
        return;
    if (!inStep_)
        resync();
    changed_ = false;
    writer_->submit([this] { return mirror_.documentText(); });
}

void DocumentRecovery::written(bool ok) {
    if (!ok && !toldFailure_) {
        toldFailure_ = true;
        showGeneralError(&window_, toDisplayText(cannotCreateMessage(copy_.path())));
    }
}

void DocumentRecovery::writeNow() {
    if (!writer_)
        return;
    timer_.stop();
    if (changed_) {
        if (!inStep_)
            resync();
        changed_ = false;
        writer_->submit([this] { return mirror_.documentText(); });
    }
    writer_->waitUntilIdle();
}

} // namespace quillet
