#pragma once
// The about box: banner, name and version, the program's icon, the
// description, the DONATE text, the two links and "ОК".
#include <QDialog>

class QLabel;
class QPushButton;

namespace pelm {

// The maker's web address and the author's mail address.
extern const QString MakerSite;
extern const QString AuthorMail;
// The mail command's link: the author's address with the subject "Vorn Pelm 2.00".
QString AuthorMailLink();

// The program's icon and banner, drawn from their vector sources at the
// screen's pixel density.
QIcon ApplicationIcon();
QPixmap RenderBanner(const QSize& size, qreal devicePixelRatio);

class TfrAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrAbout(QWidget* parent = nullptr);

    QLabel* imgBanner = nullptr;
    QLabel* lblName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* imgIcon = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDonate = nullptr;
    QLabel* lblLinks = nullptr;
    QLabel* lblSite = nullptr;
    QLabel* lblMail = nullptr;
    QPushButton* btnOK = nullptr;

signals:
    void donateClicked();
    void siteClicked();
    void mailClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace pelm
