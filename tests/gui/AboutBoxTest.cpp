// The about box: its texts top to bottom, the icon and banner drawn from our
// own pictures, the three clickable texts and the "ОК" button.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "MainWindowFixture.h"
#include "gui/app/ShellOpen.h"
#include "gui/dialogs/TfrAbout.h"

namespace pelm::test {
namespace {

TEST(AboutBox, TextsInOrderTopToBottom) {
    TfrAbout about;
    about.show();
    QApplication::processEvents();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(about.width(), 300);
    EXPECT_GE(about.height(), 264);
    EXPECT_EQ(about.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(about.imgBanner->size(), QSize(300, 75));
    EXPECT_EQ(about.imgBanner->y(), 0);
    EXPECT_EQ(about.lblName->text(), QStringLiteral("Vorn Pelm"));
    EXPECT_TRUE(about.lblName->font().bold());
    EXPECT_TRUE(about.lblName->font().underline());
    EXPECT_EQ(about.lblVersion->text(), QStringLiteral("версия 2.00"));
    EXPECT_GT(about.lblVersion->x(), about.lblName->x());
    EXPECT_GT(about.imgIcon->x(), about.lblVersion->x());
    EXPECT_EQ(about.imgIcon->size(), QSize(32, 32));
    EXPECT_EQ(about.lblDescription->text(),
              QStringLiteral("Данная программа предназначена для быстрого невизуального редактирования веб-страничек"));
    EXPECT_EQ(about.lblDonate->text(), QStringLiteral("Если Вам понравилась эта программа, нажмите по этой надписи..."));
    EXPECT_EQ(about.lblDonate->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(about.lblLinks->text(), QStringLiteral("Ссылки"));
    EXPECT_TRUE(about.lblLinks->font().bold() && about.lblLinks->font().underline());
    EXPECT_EQ(about.lblSite->toolTip(), QStringLiteral("На сайт Vorn software"));
    EXPECT_EQ(about.lblMail->toolTip(), QStringLiteral("Письмо автору"));
    EXPECT_TRUE(about.lblSite->text().contains(MakerSite));
    EXPECT_TRUE(about.lblMail->text().contains(AuthorMail));
    EXPECT_EQ(about.btnOK->text(), QStringLiteral("ОК"));
    EXPECT_TRUE(about.btnOK->isDefault());
    // Top to bottom as listed, nothing overlapping, everything inside the box.
    const QWidget* order[] = {about.imgBanner,   about.lblName,  about.lblDescription, about.lblDonate,
                              about.lblLinks,    about.lblSite,  about.lblMail,        about.btnOK};
    for (size_t i = 1; i < std::size(order); ++i)
        EXPECT_GE(order[i]->y(), order[i - 1]->geometry().bottom()) << order[i]->objectName().toStdString();
    for (const QWidget* w : order) EXPECT_TRUE(about.rect().contains(w->geometry())) << w->objectName().toStdString();
}

TEST(AboutBox, PicturesAreOurOwnAndSharp) {
    const QIcon icon = ApplicationIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 64, 256}) {
        const QImage img = icon.pixmap(QSize(size, size)).toImage();
        EXPECT_EQ(img.size(), QSize(size, size));
        EXPECT_NE(img.pixelColor(size / 2, size / 2).alpha(), 0) << size;  // the page's middle is drawn
    }
    const QPixmap banner = RenderBanner(QSize(300, 75), 2.0);
    EXPECT_EQ(banner.size(), QSize(600, 150));  // drawn at the device's pixels, not scaled up
    EXPECT_EQ(banner.devicePixelRatio(), 2.0);
}

TEST(AboutBox, EnterAndEscapeClose) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        TfrAbout about;
        about.show();
        QApplication::setActiveWindow(&about);
        QApplication::processEvents();
        QTest::keyClick(&about, key);
        EXPECT_FALSE(about.isVisible()) << key;
    }
}

TEST(AboutBox, ClickableTexts) {
    TfrAbout about;
    QSignalSpy donate(&about, &TfrAbout::donateClicked);
    QSignalSpy site(&about, &TfrAbout::siteClicked);
    QSignalSpy mail(&about, &TfrAbout::mailClicked);
    about.show();
    QApplication::processEvents();
    QTest::mouseClick(about.lblDonate, Qt::LeftButton);
    emit about.lblSite->linkActivated(QStringLiteral("#"));
    emit about.lblMail->linkActivated(QStringLiteral("#"));
    EXPECT_EQ(donate.count(), 1);
    EXPECT_EQ(site.count(), 1);
    EXPECT_EQ(mail.count(), 1);
}

TEST(AboutBox, MailLinkCarriesTheSubject) {
    const ShellOpenPlan plan = PlanShellOpen(AuthorMailLink(), QString());
    EXPECT_EQ(plan.action, ShellOpenPlan::OpenUrl);
    EXPECT_EQ(plan.url.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(plan.url.path(), AuthorMail);
    EXPECT_EQ(plan.url.query(QUrl::FullyEncoded), QStringLiteral("Subject=Vorn%20Pelm%202.00"));
    EXPECT_EQ(PlanShellOpen(MakerSite, QString()).url, QUrl(MakerSite));
}

}  // namespace
}  // namespace pelm::test
