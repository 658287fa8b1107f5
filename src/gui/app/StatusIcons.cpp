#include "gui/app/StatusIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace pelm {

namespace {

constexpr int kSize = 16;

void DrawPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(10.5, 1.5);
    page.lineTo(13.5, 4.5);
    page.lineTo(13.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(10.5, 1.5), QPointF(10.5, 4.5));
    p.drawLine(QPointF(10.5, 4.5), QPointF(13.5, 4.5));
}

QPixmap Draw(bool modified) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawPage(p);
    if (modified) {
        // A pencil stroke across the page and a red star: unsaved changes.
        p.setPen(QPen(QColor(230, 120, 0), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 12), QPointF(12, 5));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 30, 30));
        p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
    } else {
        p.setPen(QPen(QColor(20, 150, 40), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(5, 9);
        tick.lineTo(7.5, 11.5);
        tick.lineTo(12, 6);
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
    }
    p.end();
    return pixmap;
}

}  // namespace

QPixmap StatusIcon(bool modified) {
    static const QPixmap modifiedIcon = Draw(true);
    static const QPixmap cleanIcon = Draw(false);
    return modified ? modifiedIcon : cleanIcon;
}

}  // namespace pelm
