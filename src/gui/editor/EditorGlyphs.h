#pragma once
// The pictures the editor's gutter draws: the ten bookmark images (16 x 16,
// one digit each) and the glyph of a wrapped row.
#include <QPixmap>

namespace pelm {

// The bookmark image for n in 0..9; a null pixmap otherwise.
const QPixmap& BookmarkImage(int n);
const QPixmap& WrapGlyph();

}  // namespace pelm
