// The built-in preview window over the web engine: the page with a title,
// the caption and status panels it gives, the toolbar, Back with no history,
// Enter, and the temporary page gone once the window closes.
#include <QAction>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QWebEngineView>

#include "MainWindowFixture.h"
#include "gui/app/TPreviewController.h"
#include "gui/preview/TfrPreview.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm::test {
namespace {

using PreviewWindowTest = MainWindowFixture;

QStringList Toolbar(const QToolBar* bar) {
    QStringList rows;
    for (QAction* a : bar->actions()) {
        if (a->isSeparator()) rows << QStringLiteral("-");
        else rows << a->text() + QLatin1Char('|') + a->toolTip() + QLatin1Char('|') + a->shortcut().toString();
    }
    return rows;
}

TEST_F(PreviewWindowTest, ShowsThePageTitleAndAddressAndClosesOnEnter) {
    const QString doc = WriteFile("site/index.html",
                                  "<html><head><title>Hello page</title></head><body><p>Hi</p></body></html>\r\n");
    auto w = Start({doc});
    w->snEditor->Model().PerformCommand(ecChar, ' ');
    const QString page = doc + QStringLiteral("-preview.htm");
    bool shown = false;
    w->Preview()->OnPreviewShown = [&](TfrPreview& p) {
        shown = true;
        EXPECT_TRUE(QFileInfo::exists(page));
        EXPECT_TRUE(p.isModal());
        EXPECT_EQ(p.windowTitle(), QStringLiteral("Предварительный просмотр"));
        EXPECT_EQ(p.size(), QSize(478, 384));
        EXPECT_EQ(Toolbar(p.tbxPreview),
                  QStringList({"&Назад|Перейти на предыдущую страницу (Alt+Left)|",
                               "&Вперёд|На следущую (Alt+Right)|", "-",
                               "&Домой|Перейти на стартовую страницу (Alt+Home)|Alt+Home",
                               "&Стоп|Остановит загрузку страницы|", "&Обновить|Обновить текущую страницу (F5)|", "-",
                               "&Печать|Распечатать страницу на принтере|Ctrl+P", "-",
                               "&Выход|Выход из препросмотра|"}));
        EXPECT_FALSE(p.tbxPreview->isMovable());
        EXPECT_EQ(p.tbxPreview->windowTitle(), QStringLiteral("Предварительный простомотр"));

        QSignalSpy loaded(p.brsPreview, &QWebEngineView::loadFinished);
        p.show();
        ASSERT_TRUE(loaded.count() > 0 || loaded.wait(30000)) << "the web engine did not load the page";
        EXPECT_TRUE(loaded.first().first().toBool());
        QTRY_COMPARE_WITH_TIMEOUT(p.windowTitle(), QStringLiteral("Hello page - Предварительный просмотр"), 5000);
        EXPECT_EQ(p.tbxStatusPanels[0]->text(), QStringLiteral("Hello page"));
        EXPECT_EQ(p.tbxStatusPanels[0]->ElideMode(), Qt::ElideRight);
        EXPECT_EQ(p.tbxStatusPanels[1]->text(), page);
        EXPECT_EQ(p.tbxStatusPanels[1]->ElideMode(), Qt::ElideMiddle);
        EXPECT_EQ(p.tbxStatusPanels[0]->width(), 150);
        // Panel 1 takes what panel 0 leaves of the width, less 20.
        p.resize(800, 500);
        EXPECT_EQ(p.tbxStatusPanels[1]->width(), 800 - 150 - 20);

        // Back and Forward with nowhere to go: an error box, the window stays.
        p.pnkBack->trigger();
        p.pnkNext->trigger();
        EXPECT_EQ(prompts_.errors.size(), 2);
        EXPECT_TRUE(p.isVisible());

        QTest::keyClick(&p, Qt::Key_Return);
        EXPECT_FALSE(p.isVisible());
    };
    w->Preview()->pnkFilePreviewPelmClick();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(QFileInfo::exists(page));
    EXPECT_TRUE(w->Session().Modified());
}

TEST_F(PreviewWindowTest, NewDocumentsPageIsDeletedWhenTheWindowCloses) {
    auto w = Start();
    const QString page = ProgramDir() + QStringLiteral("Новый-preview.htm");
    bool existed = false;
    w->Preview()->OnPreviewShown = [&](TfrPreview&) { existed = QFileInfo::exists(page); };
    w->Preview()->pnkFilePreviewPelmClick();
    EXPECT_TRUE(existed);
    EXPECT_FALSE(QFileInfo::exists(page));
}

}  // namespace
}  // namespace pelm::test
