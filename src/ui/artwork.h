// The program's own pictures, drawn in code.
#ifndef SUMORA_UI_ARTWORK_H_
#define SUMORA_UI_ARTWORK_H_

#include <QIcon>
#include <QPixmap>

namespace sumora {

// The application icon: two blue rounded panels with dark text lines, the
// top line of the right panel yellow; drawn for every common icon size.
QIcon ApplicationIcon();

// The 16 x 16 glyph beside the decimals box: ".0" above ".00", with a small
// blue arrow pointing left beside the upper row.
QPixmap DecimalsGlyph();

}  // namespace sumora

#endif  // SUMORA_UI_ARTWORK_H_
