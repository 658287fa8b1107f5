#pragma once
// The application's title: the text the task bar shows for the program. It is
// "Pelm2" at start and follows the document afterwards. On X11 it is the main
// window's icon name (WM_ICON_NAME), which task bars and icon boxes show; the
// window caption itself stays exactly as the main window sets it.
#include <QString>

namespace pelm {

void SetApplicationTitle(const QString& title);
QString ApplicationTitle();

}  // namespace pelm
