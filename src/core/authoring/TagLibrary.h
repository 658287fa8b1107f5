#pragma once
// The tag library on disk: the list file "tags.pel" (one entry per line, ">"
// before a group header) and one INI description per tag, "<name>.pel", in the
// same folder. Nothing is cached: a description is read each time its tag is
// chosen, so a file edited while the program runs counts at the next choice.
#include <string>
#include <utility>
#include <vector>

namespace pelm {

// The lines of the list file, unchanged and in file order (empty lines
// included). Throws EFOpenError when the file cannot be read.
std::vector<std::string> LoadTagList(const std::string& fileName);

inline bool IsTagHeader(const std::string& entry) { return !entry.empty() && entry[0] == '>'; }

struct TTagDescription {
    std::string Comment;   // default "(нет описания)"
    std::string CloseTag;  // default "yes"; only exactly "yes" gives a closing tag
    int Default = 0;       // row selected first
    std::string Help;      // help topic
    std::vector<std::pair<std::string, std::string>> Params;  // attribute, preset value; file order
};

// The description file of a tag in tagsFolder (ending with "/"). File names
// are case-sensitive here, so a file whose name differs from name + ".pel"
// only in case is found too. A missing file gives every default.
TTagDescription ReadTagDescription(const std::string& tagsFolder, const std::string& name);

// The file that ReadTagDescription reads for name, or "" when there is none.
std::string FindTagFile(const std::string& tagsFolder, const std::string& name);

// Equal without regard to case, in the Windows-1251 code page.
bool SameTagText(const std::string& a, const std::string& b);

}  // namespace pelm
