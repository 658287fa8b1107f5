// The live preview dock: off by default, switched on from the Service menu,
// refreshed once after a burst of typing stops, links read against the
// document's folder, and the switch remembered in pelm.ini.
#include <QAction>
#include <QDockWidget>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "MainWindowFixture.h"
#include "core/config/TIniFile.h"
#include "gui/preview/TLivePreview.h"

namespace pelm::test {
namespace {

using LivePreviewTest = MainWindowFixture;

TEST_F(LivePreviewTest, FollowsTheTextAfterTypingStopsAndIsRemembered) {
    const QString doc = WriteFile("site/page.html", "<title>First</title>\r\n");
    {
        auto w = Start({doc});
        TLivePreview& live = *w->LivePreview();
        EXPECT_FALSE(live.Active());
        EXPECT_EQ(live.brsLivePreview, nullptr);  // no web engine until asked for

        live.pnkServiceLivePreview->trigger();
        ASSERT_TRUE(live.Active());
        ASSERT_NE(live.brsLivePreview, nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(live.brsLivePreview->title(), QStringLiteral("First"), 30000);
        EXPECT_EQ(live.brsLivePreview->page()->url().adjusted(QUrl::RemoveFilename),
                  QUrl::fromLocalFile(Path("site/")));

        // A burst of keys: one refresh, after the pause.
        const int before = live.Refreshes();
        w->snEditor->Model().PerformCommand(ecEditorTop);
        for (char c : std::string("<title>Second</title>")) w->snEditor->Model().PerformCommand(ecChar, c);
        EXPECT_EQ(live.Refreshes(), before);
        QTRY_COMPARE_WITH_TIMEOUT(live.brsLivePreview->title(), QStringLiteral("Second"), 30000);
        EXPECT_EQ(live.Refreshes(), before + 1);
        // Nothing is written beside the document.
        EXPECT_EQ(QDir(Path("site")).entryList(QDir::Files), QStringList{"page.html"});
        w->ModFlag(false);
    }
    EXPECT_EQ(TIniFile(FileNameBytes(Path("pelm.ini"))).IniReadNumber("Preview", "Live", 0), 1);
    auto again = Start();
    EXPECT_TRUE(again->LivePreview()->Active());
    again->LivePreview()->pnkServiceLivePreview->trigger();
    EXPECT_FALSE(again->LivePreview()->Active());
    EXPECT_TRUE(again->LivePreview()->pnlLivePreview->isHidden());
}

}  // namespace
}  // namespace pelm::test
