#pragma once

#include <QFont>

class QPlainTextEdit;
class QToolButton;
class QWidget;

namespace quillet {

// "MS Sans Serif" at 11 pixels (8 points at 96 dpi) where the system has it, otherwise
// the nearest sans serif the system substitutes.
QFont windowFont();

// Labels size themselves to their captions, as the fixed layout expects; check boxes and
// radio buttons widen where their captions would be cut off.
void fitCaptions(QWidget& page);

void giveFolderIcon(QToolButton& button);

// A read-only preview in the colour of the menu background.
void useMenuBackground(QPlainTextEdit& memo);

} // namespace quillet
