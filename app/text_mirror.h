#pragma once

#include <QMutex>
#include <QString>

#include <string>
#include <vector>

namespace quillet {

// A copy of a text control's text for another thread. The control's thread hands over
// each change as the control reports it, which costs only the changed piece; the other
// thread applies them when it needs the text, so that a large document is never copied
// whole on the control's thread. Positions count as the control counts them: UTF-16
// units, one per line break, and one for the break that always ends the last line.
class TextMirror {
public:
    TextMirror();

    // On the control's thread.
    void replaceAll(const QString& withFinalBreak);
    void change(int position, int removed, const QString& added);

    // On any thread: the text as document bytes, every change handed over so far applied.
    // Empty when the control is.
    std::string documentText();

private:
    struct Change {
        int position;
        int removed;
        QString added;
    };
    QMutex mutex_;
    std::vector<Change> waiting_; // guarded by mutex_
    QString text_;                // only touched under applying_
    QMutex applying_;
};

} // namespace quillet
