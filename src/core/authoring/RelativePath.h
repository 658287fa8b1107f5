#pragma once
// The path of a chosen file relative to the document's folder, as the tag
// panel's file browser writes it into an attribute.
#include <string>

namespace pelm {

// Folder names compare exactly (file names are case-sensitive here) and the
// separator is "/": "/site/pages/index.htm" and "/site/img/logo.gif" give
// "../img/logo.gif". The full name is kept when there is no document file
// (docFileName empty), when either name is not absolute, and when the two are
// on different mounts (sameMount false), where a relative path would not
// survive moving the site.
std::string RelativeFileName(const std::string& docFileName, const std::string& fileName, bool sameMount);

// Whether the folders of the two files are on the same mounted file system; a
// folder that cannot be examined counts as the same.
bool OnSameMount(const std::string& docFileName, const std::string& fileName);

}  // namespace pelm
