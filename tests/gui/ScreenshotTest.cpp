// Pictures of the settings dialog's six pages, the about box and the main
// window, for a person to look at: written only when PELM_SCREENSHOTS names a
// folder (run once as is and once with QT_SCALE_FACTOR=2).
#include <QApplication>
#include <QDir>
#include <QTabWidget>

#include "MainWindowFixture.h"
#include "gui/dialogs/TfrAbout.h"
#include "gui/dialogs/TfrSetup.h"

namespace pelm::test {
namespace {

using ScreenshotTest = MainWindowFixture;

TEST_F(ScreenshotTest, SettingsPagesAndAboutBox) {
    const QString folder = qEnvironmentVariable("PELM_SCREENSHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "PELM_SCREENSHOTS not set";
    QDir().mkpath(folder);
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    WriteFile("Library/Templates/CSS.pel", "");
    WriteFile("pelm.ini", "[Autocorrect]\r\nteh=the\r\nadn=and\r\n[Chars]\r\nCopyright=&copy;\r\nNbsp=&nbsp;\r\n"
                          "[Browsers]\r\n1_exe=/usr/bin/firefox\r\n1_name=&Firefox\r\n");
    auto w = Start();
    w->OnSetupShown = [&](TfrSetup& d) {
        d.show();
        for (int i = 0; i < d.pcSetup->count(); ++i) {
            d.pcSetup->setCurrentIndex(i);
            QApplication::processEvents();
            EXPECT_TRUE(d.grab().save(QStringLiteral("%1/setup-%2-x%3.png").arg(folder).arg(i + 1).arg(scale)));
        }
        d.reject();
    };
    w->pnkServiceSetupClick();
    TfrAbout about;
    about.show();
    QApplication::processEvents();
    EXPECT_TRUE(about.grab().save(QStringLiteral("%1/about-x%2.png").arg(folder).arg(scale)));
}

// The main window on a highlighted page, for judging how crisp the text,
// gutter and icons are at 100 % and 200 %.
TEST_F(ScreenshotTest, MainWindowOnAPage) {
    const QString folder = qEnvironmentVariable("PELM_SCREENSHOTS");
    if (folder.isEmpty()) GTEST_SKIP() << "PELM_SCREENSHOTS not set";
    QDir().mkpath(folder);
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    const QString page = WriteFile("page.html",
                                   "<html>\r\n<head><title>Page</title></head>\r\n<body>\r\n"
                                   "<p class=\"x\">Text &amp; more</p>\r\n<!-- note -->\r\n</body>\r\n</html>\r\n");
    auto w = Start({page});
    w->resize(800, 500);
    w->show();
    QApplication::processEvents();
    EXPECT_TRUE(w->grab().save(QStringLiteral("%1/main-x%2.png").arg(folder).arg(scale)));
}

}  // namespace
}  // namespace pelm::test
