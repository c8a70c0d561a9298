#include "app/look.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>

namespace quillet {

QFont windowFont() {
    // The layout's fixed widths were made for this face; Arial's metrics come closest,
    // DejaVu Sans (often the default) is too wide for several captions.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Microsoft Sans Serif"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void fitCaptions(QWidget& page) {
    for (QLabel* label : page.findChildren<QLabel*>())
        if (!label->text().isEmpty())
            label->adjustSize();
    // A box keeps its place; it only widens where the substituted face runs wider than
    // the one its width was made for, so that no caption is cut off.
    for (QAbstractButton* box : page.findChildren<QAbstractButton*>()) {
        if (!qobject_cast<QCheckBox*>(box) && !qobject_cast<QRadioButton*>(box))
            continue;
        const int needed = box->sizeHint().width();
        if (needed > box->width())
            box->resize(needed, box->height());
    }
}

void giveFolderIcon(QToolButton& button) {
    button.setIcon(button.style()->standardIcon(QStyle::SP_DirIcon));
    button.setIconSize(QSize(16, 16));
}

void useMenuBackground(QPlainTextEdit& memo) {
    QPalette palette = memo.palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    memo.setPalette(palette);
}

} // namespace quillet
