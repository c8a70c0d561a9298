#include "app/look.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolButton>

namespace quillet {

QFont windowFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void fitLabels(QWidget& page) {
    for (QLabel* label : page.findChildren<QLabel*>())
        if (!label->text().isEmpty())
            label->adjustSize();
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
