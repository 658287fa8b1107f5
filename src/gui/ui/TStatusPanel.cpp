#include "gui/ui/TStatusPanel.h"

#include <QPainter>
#include <QStyle>

namespace pelm {

namespace {
// Room kept free on each side of an elided text.
constexpr int kTextPadding = 2;
}  // namespace

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
    else if (elide_ != Qt::ElideNone) size.rwidth() += 2 * kTextPadding;
    return size;
}

QSize TStatusPanel::minimumSizeHint() const {
    QSize size = QLabel::minimumSizeHint();
    if (width_ > 0) size.setWidth(width_);
    return size;
}

QRect TStatusPanel::textArea() const {
    return contentsRect().adjusted(margin() + kTextPadding, 0, -margin() - kTextPadding, 0);
}

QString TStatusPanel::ShownText() const {
    if (elide_ == Qt::ElideNone) return text();
    return fontMetrics().elidedText(text(), elide_, textArea().width());
}

void TStatusPanel::paintEvent(QPaintEvent* event) {
    if (elide_ == Qt::ElideNone || text().isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    style()->drawItemText(&painter, textArea(), static_cast<int>(alignment()), palette(), isEnabled(), ShownText(),
                          foregroundRole());
}

}  // namespace pelm
