#pragma once
// The visual themes of menus, toolbars and windows. Each of the fifteen names
// the settings may hold ("Aluminum" ... "Xito") is a look of our own: the Fusion
// style with a palette and a few style rules for the toolbars, menus and status
// bar, applied to the whole application.
#include <QPalette>
#include <string>

namespace pelm {

// Switches to the theme of that name (compared exactly). An unknown name leaves
// the current theme in place and returns false.
bool SetTheme(const std::string& name);

// The theme in use; "Default" before any theme has been set.
const std::string& CurrentThemeName();

// The colours of a document's text area under every theme: light, as the
// highlighters' colours are chosen for a white page.
QPalette DocumentPalette();

}  // namespace pelm
