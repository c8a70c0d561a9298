#include "platform/qt_text.h"

#include "text/display_text.h"

namespace quillet {

namespace {

std::u16string_view units(QStringView text) {
    return {text.utf16(), static_cast<std::size_t>(text.size())};
}

} // namespace

QString toDisplayText(std::string_view document) {
    // Never more units than bytes; written in place, so a large document is not copied twice.
    QString out(static_cast<qsizetype>(document.size()), Qt::Uninitialized);
    const std::size_t written = toDisplayUtf16(document, reinterpret_cast<char16_t*>(out.data()));
    out.truncate(static_cast<qsizetype>(written));
    return out;
}

std::string toDocumentText(QStringView display) {
    return documentTextFromUtf16(units(display));
}

std::string toDocumentText(QStringView display, std::vector<std::size_t>& pairPositions) {
    return documentTextFromUtf16(units(display), &pairPositions);
}

NativePath nativePath(const QString& path) {
    // Qt 6 takes a file name on POSIX systems as UTF-8 bytes, and the core's paths on
    // Windows are UTF-8.
    const QByteArray bytes = path.toUtf8();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QString shownPath(std::string_view path) {
    const std::string shown = displayPath(path);
    return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

} // namespace quillet
