#include "gui/ui/TStatusPanel.h"

#include <QPainter>
#include <QStyle>

namespace pelm {

TStatusPanel::TStatusPanel(const QString& hint, int width, Qt::TextElideMode elide, QWidget* parent)
    : QLabel(parent), width_(width), elide_(elide) {
    setToolTip(hint);
    setStatusTip(hint);
    setMargin(1);
    setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    if (width_ > 0) setFixedWidth(width_);
}

QSize TStatusPanel::sizeHint() const {
    QSize size = QLabel::sizeHint();
    if (width_ > 0) size.setWidth(width_);
    return size;
}

QSize TStatusPanel::minimumSizeHint() const {
    QSize size = QLabel::minimumSizeHint();
    if (width_ > 0) size.setWidth(width_);
    return size;
}

void TStatusPanel::paintEvent(QPaintEvent* event) {
    if (elide_ == Qt::ElideNone || text().isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin() + 2, 0, -margin() - 2, 0);
    const QString shown = fontMetrics().elidedText(text(), elide_, area.width());
    style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}

}  // namespace pelm
