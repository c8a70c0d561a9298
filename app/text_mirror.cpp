#include "app/text_mirror.h"

#include "platform/qt_text.h"

namespace quillet {

namespace {

// A removal of this many units stands for the whole text.
constexpr int Everything = -1;

} // namespace

TextMirror::TextMirror() : text_(QChar::ParagraphSeparator) {}

void TextMirror::replaceAll(const QString& withFinalBreak) {
    const QMutexLocker locker(&mutex_);
    // Whatever waits is replaced along with the text.
    waiting_.clear();
    waiting_.push_back({0, Everything, withFinalBreak});
}

void TextMirror::change(int position, int removed, const QString& added) {
    const QMutexLocker locker(&mutex_);
    waiting_.push_back({position, removed, added});
}

std::string TextMirror::documentText() {
    const QMutexLocker applying(&applying_);
    std::vector<Change> changes;
    {
        const QMutexLocker locker(&mutex_);
        changes.swap(waiting_);
    }
    for (Change& c : changes) {
        if (c.removed == Everything)
            text_ = std::move(c.added);
        else
            text_.replace(c.position, c.removed, c.added);
    }
    return text_.isEmpty() ? std::string() : toDocumentText(QStringView(text_).chopped(1));
}

} // namespace quillet
