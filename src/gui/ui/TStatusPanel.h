#pragma once
// One panel of the status bar: a text or an icon, a hint, a fixed width (0 =
// as wide as its content) and where an overlong text is cut with an ellipsis.
#include <QLabel>

namespace pelm {

class TStatusPanel : public QLabel {
    Q_OBJECT
public:
    TStatusPanel(const QString& hint, int width, Qt::TextElideMode elide, QWidget* parent = nullptr);

    Qt::TextElideMode ElideMode() const { return elide_; }
    int PanelWidth() const { return width_; }

    // The text as the panel shows it at its present width.
    QString ShownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textArea() const;

    int width_;
    Qt::TextElideMode elide_;
};

}  // namespace pelm
