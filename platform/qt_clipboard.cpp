#include "platform/qt_clipboard.h"

#include "platform/address_offer.h"
#include "platform/qt_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quillet {

ClipboardText readQtClipboardText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText())
        return {ClipboardText::Status::NoText, {}};
    ClipboardText read{ClipboardText::Status::Text, toDocumentText(data->text())};
    for (std::string_view type : AddressTypes) {
        const QString format = QString::fromLatin1(type.data(), qsizetype(type.size()));
        if (data->hasFormat(format)) {
            const QByteArray address = data->data(format);
            read.sourceAddress = addressFromOffer(type, address.toStdString());
            break;
        }
    }
    return read;
}

} // namespace quillet
