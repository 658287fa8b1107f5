#include "gui/dialogs/TfrAbout.h"

#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QIconEngine>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QVBoxLayout>

// The pictures live in the GUI library, which is static: their registration
// is pulled in by name.
static void InitResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(pelm_resources);
        return true;
    }();
    (void)done;
}

namespace pelm {

namespace {

// An icon drawn from its SVG at every size and pixel density asked for.
class SvgIconEngine : public QIconEngine {
public:
    explicit SvgIconEngine(QString file) : file_(std::move(file)) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        QSvgRenderer(file_).render(painter, rect);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }
    QIconEngine* clone() const override { return new SvgIconEngine(file_); }

private:
    QString file_;
};

}  // namespace

const QString MakerSite = QStringLiteral("https://pelm.example.org/");
const QString AuthorMail = QStringLiteral("author@pelm.example.org");

QString AuthorMailLink() {
    return QStringLiteral("mailto:") + AuthorMail + QStringLiteral("?Subject=Vorn%20Pelm%202.00");
}

QIcon ApplicationIcon() {
    InitResources();
    return QIcon(new SvgIconEngine(QStringLiteral(":/pelm/pelm.svg")));
}

QPixmap RenderBanner(const QSize& size, qreal devicePixelRatio) {
    InitResources();
    QPixmap pm(size * devicePixelRatio);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer(QStringLiteral(":/pelm/banner.svg")).render(&p, QRectF(QPointF(0, 0), QSizeF(pm.size())));
    p.end();
    pm.setDevicePixelRatio(devicePixelRatio);
    return pm;
}

TfrAbout::TfrAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    const qreal dpr = devicePixelRatioF();

    imgBanner = new QLabel(this);
    imgBanner->setObjectName(QStringLiteral("imgBanner"));
    imgBanner->setFixedSize(300, 75);
    imgBanner->setPixmap(RenderBanner(QSize(300, 75), dpr));

    lblName = new QLabel(QStringLiteral("Vorn Pelm"), this);
    lblName->setObjectName(QStringLiteral("lblName"));
    QFont nameFont = lblName->font();
    nameFont.setBold(true);
    nameFont.setUnderline(true);
    lblName->setFont(nameFont);
    lblVersion = new QLabel(QStringLiteral("версия 2.00"), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    // The icon is the application's own, taken when the box is created.
    imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setFixedSize(32, 32);
    QIcon icon = QGuiApplication::windowIcon();
    if (icon.isNull()) icon = ApplicationIcon();
    imgIcon->setPixmap(icon.pixmap(QSize(32, 32), dpr));

    lblDescription = new QLabel(
        QStringLiteral("Данная программа предназначена для быстрого невизуального редактирования веб-страничек"), this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);

    lblDonate = new QLabel(QStringLiteral("Если Вам понравилась эта программа, нажмите по этой надписи..."), this);
    lblDonate->setObjectName(QStringLiteral("lblDonate"));
    lblDonate->setWordWrap(true);
    lblDonate->setCursor(Qt::PointingHandCursor);
    lblDonate->installEventFilter(this);

    lblLinks = new QLabel(QStringLiteral("Ссылки"), this);
    lblLinks->setObjectName(QStringLiteral("lblLinks"));
    lblLinks->setFont(nameFont);

    auto link = [this](const char* name, const QString& text, const QString& hint) {
        auto* label = new QLabel(QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped()), this);
        label->setObjectName(QLatin1String(name));
        label->setToolTip(hint);
        label->setTextFormat(Qt::RichText);
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        return label;
    };
    lblSite = link("lblSite", MakerSite, QStringLiteral("На сайт Vorn software"));
    lblMail = link("lblMail", AuthorMail, QStringLiteral("Письмо автору"));
    connect(lblSite, &QLabel::linkActivated, this, &TfrAbout::siteClicked);
    connect(lblMail, &QLabel::linkActivated, this, &TfrAbout::mailClicked);

    // "ОК" is the default button, and Esc (the dialog's reject) closes too.
    btnOK = new QPushButton(QStringLiteral("ОК"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->setAutoDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* body = new QGridLayout;
    body->setContentsMargins(12, 8, 12, 10);
    body->setHorizontalSpacing(8);
    body->setVerticalSpacing(6);
    auto* title = new QHBoxLayout;
    title->setSpacing(8);
    title->addWidget(lblName);
    title->addWidget(lblVersion);
    title->addStretch(1);
    body->addLayout(title, 0, 0);
    body->addWidget(imgIcon, 0, 1, 2, 1, Qt::AlignRight | Qt::AlignTop);
    body->addWidget(lblDescription, 1, 0);
    body->addWidget(lblDonate, 2, 0, 1, 2);
    lblLinks->setContentsMargins(0, 4, 0, 0);
    body->addWidget(lblLinks, 3, 0, 1, 2);
    body->addWidget(lblSite, 4, 0, 1, 2);
    body->addWidget(lblMail, 5, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addStretch(1);
    buttons->setContentsMargins(0, 4, 0, 0);
    body->addLayout(buttons, 6, 0, 1, 2);
    body->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(imgBanner);
    layout->addLayout(body);

    // 300 wide as the banner; as tall as the texts need at this font, at
    // least the form's 264.
    setFixedWidth(300);
    layout->activate();
    setFixedHeight(std::max(264, layout->heightForWidth(300) > 0 ? layout->heightForWidth(300) : sizeHint().height()));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TfrAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblDonate && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        emit donateClicked();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pelm
