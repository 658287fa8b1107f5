#pragma once
// Window and toolbar layout in pelm.ini. The window's position, size and
// maximised state live in the section named after its class + "Window"
// ("TfrMainWindow"); each of the three toolbars (the menu bar's "mnuMain", the
// standard toolbar "tbxStandart", the tags toolbar "tbxTags", found by name in
// the window) has a section named after it + "Toolbar" with its dock ("Top",
// "Left", "Right" or "Bottom"), its row in the dock and its position in the row.
// Each call opens its own INI object on the file.
#include <QString>

class QMainWindow;
class QToolBar;
class QWidget;

namespace pelm {

// Where a toolbar stands. Row 0 is the line at the window's edge, the next
// line is row 1 and so on inwards; pos is the offset along the line in pixels.
struct TToolbarPlacement {
    QString dock;  // "Top", "Left", "Right", "Bottom"; empty when in no dock
    int row = 0;
    int pos = 0;
};

TToolbarPlacement ToolbarPlacement(QMainWindow* window, QToolBar* toolbar);
// Moves the toolbar into the named dock (a name of another spelling leaves it
// in its dock) at the row and position given. The toolbars of each dock are
// laid out again, ordered by row and then by position; rows keep their order
// but close up, and toolbars of one row keep their order by position.
void PlaceToolbar(QMainWindow* window, QToolBar* toolbar, const QString& dock, int row, int pos);

// Before the window is shown: missing keys centre it on the screen at the
// size it has, and leave each toolbar where it is.
void RestoreWindowLayout(QWidget* window, const QString& fileName);
// Bounds only in the normal state; "State" 1 normal, 2 maximised, nothing when
// minimised. A file that cannot be written loses the layout silently.
void SaveWindowLayout(QWidget* window, const QString& fileName);

void RestoreToolbarPlacement(QMainWindow* window, QToolBar* toolbar, const QString& fileName);
void SaveToolbarPlacement(QMainWindow* window, QToolBar* toolbar, const QString& fileName);

}  // namespace pelm
