#pragma once
#include <string>

namespace pelm {

// The settings file: "pelm.ini" in the program's folder when that folder can be
// written, else $XDG_CONFIG_HOME/pelm/pelm.ini (default ~/.config/pelm/pelm.ini),
// whose folder is created when missing. programDir ends with "/".
std::string SettingsFileName(const std::string& programDir);

// The user's own settings file, $XDG_CONFIG_HOME/pelm/pelm.ini (default
// ~/.config/pelm/pelm.ini); its folder is created when missing.
std::string UserSettingsFileName();

}  // namespace pelm
