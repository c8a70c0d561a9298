#pragma once

#include "app/text_mirror.h"
#include "document/recovery_copy.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QTextDocument;
class QWidget;

namespace quillet {

class MemoTextView;

// Keeps the recovery copy of the document in `Memo1` while the program runs: soon after
// every change (a capture, a button, typing) the copy is written on the writer's thread,
// and once the document is empty it is removed. At start it offers back what the last
// session left. Closing writes the last changes and asks nothing.
class DocumentRecovery : public QObject {
    Q_OBJECT
public:
    DocumentRecovery(MemoTextView& view, const QString& folder, QWidget& window);
    // Writes what changed since the last copy.
    ~DocumentRecovery() override;

    // The folder of the copy in the user's data, e.g. ~/.local/share/Quillet.
    static QString standardFolder();

    // Claims the copy and offers the text the last session left; from then on changes are
    // copied. Another running Quillet that holds the copy is named in a warning, and this
    // window then keeps no copy.
    void start();
    bool isKeepingCopy() const { return writer_ != nullptr; }

    // How long after a change the copy is written; what changes meanwhile goes with it.
    void setDelay(int milliseconds) { timer_.setInterval(milliseconds); }
    // Writes the document as it stands now and waits until the copy holds it.
    void writeNow();

private:
    void follow(int position, int removed, int added);
    void resync();
    void documentChanged();
    void writeChanges();
    void written(bool ok);

    MemoTextView& view_;
    QTextDocument& shown_; // the control's text
    QWidget& window_;
    RecoveryCopy copy_;
    // The writer's view of the control's text, fed with each change.
    TextMirror mirror_;
    int mirrorLength_ = 1;
    bool inStep_ = true; // false when a change was not reported in a way it can follow
    std::unique_ptr<RecoveryWriter> writer_;
    QTimer timer_;
    bool changed_ = false; // since the last copy was handed to the writer
    bool toldFailure_ = false;
};

} // namespace quillet
