// The client's built-in 16 x 16 icons that push buttons show before their
// caption (field flag 0x200000, the icon number in A) and the shortcut menu
// beside button entries. Drawn here rather than shipped as files: they are
// simple shapes, and their light grey parts take the button's background.
#pragma once

#include <QColor>
#include <QPixmap>

namespace veslink {

// True for the numbers that name an icon (1 to 18 and 22).
bool builtin_icon_exists(int number);

// The icon, its light grey parts in `background`; a null pixmap for
// numbers that name none.
QPixmap builtin_icon(int number, const QColor& background);

}  // namespace veslink
