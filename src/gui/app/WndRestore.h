#pragma once
// Window layout in pelm.ini: position, size and maximised state of a window, in
// the section named after its class + "Window" ("TfrMainWindow"). Each call
// opens its own INI object on the file. The toolbars' dock, row and position
// join these calls once the window has toolbars.
#include <QString>

class QWidget;

namespace pelm {

// Before the window is shown: missing keys centre it on the screen at the
// size it has.
void RestoreWindowLayout(QWidget* window, const QString& fileName);
// Bounds only in the normal state; "State" 1 normal, 2 maximised, nothing when
// minimised. A file that cannot be written loses the layout silently.
void SaveWindowLayout(QWidget* window, const QString& fileName);

}  // namespace pelm
