#include "gui/editor/EditorGlyphs.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <array>

namespace pelm {

namespace {

QPixmap MakeBookmarkImage(int n) {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A small tag: dark blue with a light border, the digit in white.
    p.setPen(QPen(QColor(0xE0, 0xE8, 0xFF), 1));
    p.setBrush(QColor(0x10, 0x30, 0x90));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, QString::number(n));
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap MakeWrapGlyph() {
    // A return arrow: down from the top right, then left, with the head at the left.
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(QPen(QColor(0x00, 0x00, 0x80), 1));
    p.drawLine(7, 1, 7, 6);
    p.drawLine(2, 6, 7, 6);
    p.drawLine(2, 6, 4, 4);
    p.drawLine(2, 6, 4, 8);
    p.end();
    return QPixmap::fromImage(image);
}

}  // namespace

const QPixmap& BookmarkImage(int n) {
    static const std::array<QPixmap, 10> images = [] {
        std::array<QPixmap, 10> a;
        for (int i = 0; i < 10; ++i) a[static_cast<size_t>(i)] = MakeBookmarkImage(i);
        return a;
    }();
    static const QPixmap none;
    return n >= 0 && n <= 9 ? images[static_cast<size_t>(n)] : none;
}

const QPixmap& WrapGlyph() {
    static const QPixmap glyph = MakeWrapGlyph();
    return glyph;
}

}  // namespace pelm
