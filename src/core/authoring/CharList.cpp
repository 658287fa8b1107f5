#include "core/authoring/CharList.h"

#include "core/authoring/TagLibrary.h"
#include "core/config/TIniFile.h"

namespace pelm {

std::vector<TCharEntry> ReadCharList(const TIniFile& settings) {
    std::vector<std::string> pairs;
    settings.IniReadPairs("Chars", pairs);
    std::vector<TCharEntry> list;
    for (const std::string& pair : pairs) {
        const size_t eq = pair.find('=');
        list.push_back({pair.substr(0, eq), pair.substr(eq + 1)});
    }
    return list;
}

std::string CharCodeOf(const std::vector<TCharEntry>& list, int row) {
    if (row < 0 || row >= static_cast<int>(list.size())) return {};
    const std::string& description = list[static_cast<size_t>(row)].Description;
    for (const TCharEntry& entry : list)
        if (SameTagText(entry.Description, description)) return entry.Code;
    return {};
}

}  // namespace pelm
