// The window and toolbar layout in pelm.ini: placement, size, state, and each
// toolbar's dock, row and position.
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QToolBar>

#include "MainWindowFixture.h"
#include "core/config/TIniFile.h"
#include "gui/app/GuiText.h"
#include "gui/app/WndRestore.h"

namespace pelm::test {
namespace {

class LayoutTest : public MainWindowFixture {
protected:
    TIniFile Ini() { return TIniFile(FileNameBytes(Path("pelm.ini"))); }

    // Closes the window as the user would, with nothing to save.
    void Close(std::unique_ptr<TfrMain>& w) {
        EXPECT_TRUE(w->close());
        w.reset();
    }
};

struct Expected {
    QToolBar* TfrMain::*toolbar;
    const char* dock;
    int row;
};

void ExpectPlacements(TfrMain& w, std::initializer_list<Expected> expected) {
    for (const Expected& e : expected) {
        QToolBar* toolbar = w.*e.toolbar;
        SCOPED_TRACE(toolbar->objectName().toStdString());
        const TToolbarPlacement p = ToolbarPlacement(&w, toolbar);
        EXPECT_EQ(p.dock, QLatin1String(e.dock));
        EXPECT_EQ(p.row, e.row);
    }
}

TEST_F(LayoutTest, FirstStartIsCentredAtTheDesignSize) {
    auto w = Start();
    const QSize screen = w->screen()->geometry().size();
    EXPECT_EQ(w->size(), QSize(736, 473));
    EXPECT_EQ(w->pos(), QPoint(screen.width() / 2 - 736 / 2, screen.height() / 2 - 473 / 2));
    EXPECT_FALSE(w->windowState() & Qt::WindowMaximized);
    ExpectPlacements(*w, {{&TfrMain::mnuMain, "Top", 0}, {&TfrMain::tbxStandart, "Top", 1}, {&TfrMain::tbxTags, "Top", 2}});

    w->show();
    Close(w);
    TIniFile ini = Ini();
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "Width", 0), 736);
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "Height", 0), 473);
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "Left", 0), screen.width() / 2 - 736 / 2);
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "State", 0), 1);
    const char* sections[] = {"mnuMainToolbar", "tbxStandartToolbar", "tbxTagsToolbar"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(sections[i]);
        EXPECT_EQ(ini.IniRead(sections[i], "Dock", ""), "Top");
        EXPECT_EQ(ini.IniReadNumber(sections[i], "Row", -1), i);
        EXPECT_EQ(ini.IniReadNumber(sections[i], "Pos", -1), 0);
    }
}

TEST_F(LayoutTest, SavedBoundsAreRestored) {
    WriteFile("pelm.ini", "[TfrMainWindow]\r\nLeft=40\r\nTop=30\r\nWidth=600\r\nHeight=450\r\nState=1\r\n");
    auto w = Start();
    EXPECT_EQ(w->pos(), QPoint(40, 30));
    EXPECT_EQ(w->size(), QSize(600, 450));
    w->show();
    w->move(50, 60);
    w->resize(640, 420);
    Close(w);
    TIniFile ini = Ini();
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "Left", 0), 50);
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "Top", 0), 60);
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "Width", 0), 640);
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "Height", 0), 420);
}

TEST_F(LayoutTest, MaximisedRoundTripKeepsTheNormalBounds) {
    WriteFile("pelm.ini", "[TfrMainWindow]\r\nLeft=40\r\nTop=30\r\nWidth=600\r\nHeight=450\r\nState=2\r\n");
    auto w = Start();
    EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);
    w->show();
    Close(w);
    TIniFile ini = Ini();
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "State", 0), 2);
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "Width", 0), 600);  // only written in the normal state
    EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "Left", 0), 40);

    w = Start();
    EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);
    w->show();
    w->setWindowState(Qt::WindowNoState);
    QTest::qWait(10);
    EXPECT_EQ(w->size(), QSize(600, 450));
    EXPECT_EQ(w->pos(), QPoint(40, 30));
    Close(w);
    EXPECT_EQ(Ini().IniReadNumber("TfrMainWindow", "State", 0), 1);
}

TEST_F(LayoutTest, MinimisedCloseLeavesStateAndBounds) {
    for (int state : {1, 2}) {
        SCOPED_TRACE(state);
        WriteFile("pelm.ini", "[TfrMainWindow]\r\nWidth=600\r\nHeight=450\r\nState=" + QByteArray::number(state) + "\r\n");
        auto w = Start();
        w->show();
        w->resize(500, 300);
        w->setWindowState(Qt::WindowMinimized);
        Close(w);
        TIniFile ini = Ini();
        EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "State", 0), state);
        EXPECT_EQ(ini.IniReadNumber("TfrMainWindow", "Width", 0), 600);
        EXPECT_EQ(ini.IniRead("TfrMainWindow", "Left", "none"), "none");
    }
}

struct DockCase {
    const char* name;
    const char* ini;
    std::initializer_list<Expected> expected;
};

TEST_F(LayoutTest, DockNamesRowsAndPositions) {
    const DockCase cases[] = {
        {"Left dock", "[tbxStandartToolbar]\r\nDock=Left\r\n",
         {{&TfrMain::mnuMain, "Top", 0}, {&TfrMain::tbxStandart, "Left", 0}, {&TfrMain::tbxTags, "Top", 1}}},
        {"lower-case dock ignored", "[tbxStandartToolbar]\r\nDock=left\r\n",
         {{&TfrMain::mnuMain, "Top", 0}, {&TfrMain::tbxStandart, "Top", 1}, {&TfrMain::tbxTags, "Top", 2}}},
        {"every dock", "[mnuMainToolbar]\r\nDock=Bottom\r\n[tbxStandartToolbar]\r\nDock=Right\r\n"
                       "[tbxTagsToolbar]\r\nDock=Left\r\n",
         {{&TfrMain::mnuMain, "Bottom", 0}, {&TfrMain::tbxStandart, "Right", 0}, {&TfrMain::tbxTags, "Left", 0}}},
        {"rows swapped", "[mnuMainToolbar]\r\nRow=2\r\n[tbxTagsToolbar]\r\nRow=0\r\n",
         {{&TfrMain::tbxTags, "Top", 0}, {&TfrMain::tbxStandart, "Top", 1}, {&TfrMain::mnuMain, "Top", 2}}},
        {"two bars in one row", "[tbxStandartToolbar]\r\nRow=0\r\nPos=400\r\n[tbxTagsToolbar]\r\nRow=1\r\n",
         {{&TfrMain::mnuMain, "Top", 0}, {&TfrMain::tbxStandart, "Top", 0}, {&TfrMain::tbxTags, "Top", 1}}},
        {"two bars in the bottom dock", "[tbxStandartToolbar]\r\nDock=Bottom\r\nRow=0\r\n[tbxTagsToolbar]\r\n"
                                        "Dock=Bottom\r\nRow=1\r\n",
         {{&TfrMain::mnuMain, "Top", 0}, {&TfrMain::tbxStandart, "Bottom", 0}, {&TfrMain::tbxTags, "Bottom", 1}}},
    };
    for (const DockCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile("pelm.ini", c.ini);
        auto w = Start();
        ExpectPlacements(*w, c.expected);
        w->show();
        ExpectPlacements(*w, c.expected);
        // What is saved comes back the same at the next start.
        Close(w);
        w = Start();
        ExpectPlacements(*w, c.expected);
    }
}

TEST_F(LayoutTest, ToolbarsOfOneRowKeepTheirOrderByPosition) {
    WriteFile("pelm.ini", "[tbxStandartToolbar]\r\nRow=0\r\nPos=300\r\n[tbxTagsToolbar]\r\nRow=0\r\nPos=10\r\n");
    auto w = Start();
    w->show();
    EXPECT_LT(w->mnuMain->x(), w->tbxTags->x());
    EXPECT_LT(w->tbxTags->x(), w->tbxStandart->x());
    EXPECT_EQ(w->mnuMain->y(), w->tbxStandart->y());
}

TEST_F(LayoutTest, ToolbarMovedByTheUserIsSaved) {
    auto w = Start();
    w->show();
    PlaceToolbar(w.get(), w->tbxTags, QStringLiteral("Right"), 0, 0);
    Close(w);
    EXPECT_EQ(Ini().IniRead("tbxTagsToolbar", "Dock", ""), "Right");
    EXPECT_EQ(Ini().IniReadNumber("tbxTagsToolbar", "Row", -1), 0);
    EXPECT_EQ(Ini().IniReadNumber("tbxTagsToolbar", "Pos", -1), 0);  // from the dock's start, below the top dock
    EXPECT_EQ(Ini().IniRead("tbxStandartToolbar", "Dock", ""), "Top");
    w = Start();
    EXPECT_EQ(w->toolBarArea(w->tbxTags), Qt::RightToolBarArea);
}

}  // namespace
}  // namespace pelm::test
