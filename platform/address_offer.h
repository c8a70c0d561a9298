#pragma once

#include <QString>
#include <QStringDecoder>

#include <array>
#include <string>
#include <string_view>

namespace quillet {

// The types under which browsers offer, beside a copied text, the address of its page, the
// best first: Chromium's in UTF-8, Firefox's in UTF-16LE. The X11 clipboard names its
// targets and Wayland its MIME types so alike.
inline constexpr std::array<std::string_view, 2> AddressTypes{"chromium/x-source-url",
                                                              "text/x-moz-url-priv"};

// The address in `data`, offered under `type` (one of AddressTypes), as UTF-8.
inline std::string addressFromOffer(std::string_view type, std::string_view data) {
    if (type != AddressTypes[1])
        return std::string(data);
    QStringDecoder fromUtf16(QStringConverter::Utf16LE);
    const QString address = fromUtf16(QByteArrayView(data.data(), qsizetype(data.size())));
    return address.toStdString();
}

} // namespace quillet
