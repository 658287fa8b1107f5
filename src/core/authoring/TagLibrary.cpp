#include "core/authoring/TagLibrary.h"

#include <dirent.h>
#include <sys/stat.h>

#include "core/config/TIniFile.h"
#include "core/editor/TCodeEditStringList.h"
#include "core/platform/Cp1251.h"

namespace pelm {

std::vector<std::string> LoadTagList(const std::string& fileName) {
    TCodeEditStringList list;
    list.LoadTextFile(fileName);
    std::vector<std::string> entries;
    entries.reserve(static_cast<size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) entries.emplace_back(list.Line(i));
    return entries;
}

bool SameTagText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && cp1251::UpperCase(a) == cp1251::UpperCase(b);
}

std::string FindTagFile(const std::string& tagsFolder, const std::string& name) {
    const std::string wanted = name + ".pel";
    struct stat st;
    const std::string exact = tagsFolder + wanted;
    if (::stat(exact.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return exact;
    DIR* dir = ::opendir(tagsFolder.empty() ? "." : tagsFolder.c_str());
    if (!dir) return {};
    std::string found;
    while (const dirent* e = ::readdir(dir)) {
        if (SameTagText(e->d_name, wanted)) {
            found = tagsFolder + e->d_name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

TTagDescription ReadTagDescription(const std::string& tagsFolder, const std::string& name) {
    TTagDescription d;
    d.Comment = "(\xED\xE5\xF2 \xEE\xEF\xE8\xF1\xE0\xED\xE8\xFF)";  // "(нет описания)"
    d.CloseTag = "yes";
    const std::string file = FindTagFile(tagsFolder, name);
    if (file.empty()) return d;
    const TIniFile ini(file);
    d.Comment = ini.IniRead("Info", "Comment", d.Comment);
    d.CloseTag = ini.IniRead("Info", "CloseTag", d.CloseTag);
    d.Default = ini.IniReadNumber("Info", "Default", 0);
    d.Help = ini.IniRead("Info", "Help", "");
    std::vector<std::string> pairs;
    ini.IniReadPairs("Params", pairs);
    for (const std::string& pair : pairs) {
        const size_t eq = pair.find('=');
        d.Params.emplace_back(pair.substr(0, eq), pair.substr(eq + 1));
    }
    return d;
}

}  // namespace pelm
