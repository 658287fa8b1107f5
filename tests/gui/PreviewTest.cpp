// The page preview: the temporary page beside the document, what it holds,
// where a new document's page goes, and the external browsers as the shell
// layer would start them.
#include <QApplication>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <functional>
#include <vector>

#include "MainWindowFixture.h"
#include "gui/app/ShellOpen.h"
#include "gui/app/TPreviewController.h"
#include "gui/preview/TfrPreview.h"

namespace pelm::test {
namespace {

// Catches the plans the shell layer would carry out, for one test.
class ShellPlans {
public:
    ShellPlans() {
        ShellOpenHook() = [this](const ShellOpenPlan& plan) { plans.push_back(plan); };
    }
    ~ShellPlans() { ShellOpenHook() = nullptr; }
    std::vector<ShellOpenPlan> plans;
};

class PreviewTest : public MainWindowFixture {
protected:
    // An executable stand-in for a browser, in a folder with a blank in its name.
    QString FakeBrowser() {
        const QString path = WriteFile("My Browsers/fake browser", "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
};

TEST_F(PreviewTest, PreviewFileNameOfSavedAndNewDocuments) {
    WriteFile("site/my page.html", "<p>x</p>\r\n");
    auto w = Start({Path("site/my page.html")});
    TPreviewController& p = *w->Preview();
    p.SaveTempPreview();
    EXPECT_EQ(p.PreviewFileName(), Path("site/my page.html-preview.htm"));
    EXPECT_TRUE(QFileInfo::exists(p.PreviewFileName()));

    w->pnkFileNewHTMLClick();
    ASSERT_EQ(w->DocFileName(), QStringLiteral("Новый"));
    p.SaveTempPreview();
    EXPECT_EQ(p.PreviewFileName(), ProgramDir() + QStringLiteral("Новый-preview.htm"));
    EXPECT_TRUE(QFileInfo::exists(p.PreviewFileName()));
    EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join("\n").toStdString();
}

TEST_F(PreviewTest, NewDocumentPageGoesToTheCacheWhenTheProgramFolderCannotBeWritten) {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QLatin1Char('/');
    EXPECT_EQ(NewDocumentPreviewFolder(Path("no such folder/")), cache);
    EXPECT_TRUE(QFileInfo(cache).isDir());
    EXPECT_EQ(NewDocumentPreviewFolder(ProgramDir()), ProgramDir());
}

TEST_F(PreviewTest, PageHoldsTheUnsavedTextWithTheDocumentsLineBreaks) {
    const QString doc = WriteFile("unix.html", "<p>one</p>\n<p>two</p>\n");
    auto w = Start({doc});
    w->snEditor->Model().PerformCommand(ecChar, 'x');
    ASSERT_TRUE(w->Session().Modified());

    w->Preview()->SaveTempPreview();
    EXPECT_EQ(ReadFile(w->Preview()->PreviewFileName()), QByteArray("x<p>one</p>\n<p>two</p>\n"));
    // The document itself: same name, same file, still modified.
    EXPECT_EQ(w->DocFileName(), doc);
    EXPECT_EQ(ReadFile(doc), QByteArray("<p>one</p>\n<p>two</p>\n"));
    EXPECT_TRUE(w->Session().Modified());
    EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join("\n").toStdString();
}

TEST_F(PreviewTest, UnwritableFolderShowsTheCreateErrorAndOpensNothing) {
    const QString doc = WriteFile("gone/page.html", "<p>x</p>\r\n");
    auto w = Start({doc});
    // The document's folder disappears under it.
    ASSERT_TRUE(QDir(Path("gone")).removeRecursively());
    bool shown = false;
    w->Preview()->OnPreviewShown = [&](TfrPreview&) { shown = true; };
    ShellPlans shell;
    w->Preview()->pnkFilePreviewPelmClick();
    EXPECT_FALSE(shown);
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_TRUE(prompts_.errors[0].contains(QStringLiteral("page.html-preview.htm"))) << prompts_.errors[0].toStdString();

    // An external browser gets nothing started either.
    w->pnkFilePreview1st->setVisible(true);
    w->pnkFilePreview1st->setEnabled(true);
    w->Preview()->pnkFilePreview1stClick();
    EXPECT_TRUE(shell.plans.empty());
    EXPECT_EQ(prompts_.errors.size(), 2);
}

TEST_F(PreviewTest, ExternalBrowserGetsThePageAsOneArgument) {
    const QString browser = FakeBrowser();
    WriteFile("pelm.ini", "[Browsers]\r\n1_name=Firefox\r\n1_exe=" + browser.toUtf8() +
                              "\r\n2_name=Second\r\n2_exe=no-such-browser.exe\r\n");
    const QString doc = WriteFile("my site/a \"quoted\" page.html", "<p>x</p>\r\n");
    auto w = Start({doc});
    ASSERT_TRUE(w->pnkFilePreview1st->isVisible());
    EXPECT_EQ(w->pnkFilePreview1st->text(), QStringLiteral("Firefox"));
    ShellPlans shell;
    w->pnkFilePreview1st->trigger();
    ASSERT_EQ(shell.plans.size(), 1u);
    EXPECT_EQ(shell.plans[0].action, ShellOpenPlan::StartProgram);
    EXPECT_EQ(shell.plans[0].program, browser);
    EXPECT_EQ(shell.plans[0].arguments, QStringList{doc + QStringLiteral("-preview.htm")});
    // The external browsers leave the page for the next preview to overwrite.
    EXPECT_TRUE(QFileInfo::exists(doc + QStringLiteral("-preview.htm")));

    // A program that cannot be found: the desktop's browser opens the page.
    w->pnkFilePreview2nd->trigger();
    ASSERT_EQ(shell.plans.size(), 2u);
    EXPECT_EQ(shell.plans[1].action, ShellOpenPlan::OpenUrl);
    EXPECT_EQ(shell.plans[1].url, QUrl::fromLocalFile(doc + QStringLiteral("-preview.htm")));
    EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join("\n").toStdString();
}

TEST_F(PreviewTest, UnnamedBrowserIsHiddenAndItsKeyDoesNothing) {
    const QString browser = FakeBrowser();
    struct Case {
        QByteArray ini;
        bool shown;
    };
    const Case cases[] = {
        {"[Browsers]\r\n1_exe=" + browser.toUtf8() + "\r\n", false},
        {"[Browsers]\r\n1_name=Undefined\r\n1_exe=" + browser.toUtf8() + "\r\n", false},
        {"[Browsers]\r\n1_name=Firefox\r\n1_exe=" + browser.toUtf8() + "\r\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini.toStdString());
        WriteFile("pelm.ini", c.ini);
        auto w = Start();
        w->show();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        EXPECT_EQ(w->pnkFilePreview1st->isVisible(), c.shown);
        EXPECT_EQ(w->pnkFilePreview1st->isEnabled(), c.shown);
        ShellPlans shell;
        QTest::keyClick(w->snEditor, Qt::Key_F9, Qt::ControlModifier);
        EXPECT_EQ(shell.plans.size(), c.shown ? 1u : 0u);
        w->ModFlag(false);
    }
}

}  // namespace
}  // namespace pelm::test
