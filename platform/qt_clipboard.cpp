#include "platform/qt_clipboard.h"

#include "platform/qt_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quillet {

ClipboardText readQtClipboardText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText())
        return {ClipboardText::Status::NoText, {}};
    return {ClipboardText::Status::Text, toDocumentText(data->text())};
}

} // namespace quillet
