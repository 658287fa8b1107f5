#pragma once
// Where the program's data (Library/, Help/, the default pelm.ini) lives.
#include <string>

namespace pelm {

// The data folder for a program whose executable is in executableDir (which
// ends with "/"): the executable's own folder when it holds Library/ (a build
// folder or an unpacked copy), else <prefix>/share/pelm/ beside <prefix>/bin/
// when that holds Library/ (an installed program), else the executable's
// folder. The result ends with "/".
std::string DataDirFor(const std::string& executableDir);

// True for an installed program's data folder (".../share/pelm/"): that folder
// belongs to the installation, so the settings never go there.
bool IsInstalledDataDir(const std::string& dataDir);

}  // namespace pelm
