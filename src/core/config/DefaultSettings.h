#pragma once
// The default settings file shipped beside the program.
#include <string>

namespace pelm {

// When the settings live outside the program's folder (settingsFile is not
// programDir + "pelm.ini") and no settings file exists there yet, it starts as
// a copy of the program's own "pelm.ini". An existing file is never touched.
// Returns true when a copy was made; a failed copy leaves no file behind.
bool SeedSettingsFile(const std::string& settingsFile, const std::string& programDir);

}  // namespace pelm
