#include "gui/app/TRecentFiles.h"

#include <algorithm>

#include "core/config/TIniFile.h"
#include "gui/app/GuiText.h"

namespace pelm {

void TRecentFiles::SetMaxItems(int value) {
    maxItems_ = std::max(0, value);
    trim();
}

int TRecentFiles::IndexOf(const QString& fileName) const {
    for (int i = 0; i < items_.size(); ++i)
        if (items_[i].compare(fileName, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void TRecentFiles::InsertIfAbsent(const QString& fileName) {
    if (IndexOf(fileName) >= 0) return;
    items_.prepend(fileName);
    trim();
}

void TRecentFiles::MoveToTop(int index) {
    if (index > 0 && index < items_.size()) items_.move(index, 0);
}

void TRecentFiles::LoadFromIni(TIniFile& ini, const std::string& section) {
    items_.clear();
    for (int i = 1; i <= maxItems_; ++i) {
        const std::string value = ini.IniRead(section, "MRU" + std::to_string(i), "");
        if (!value.empty()) items_.append(FileNameFromBytes(value));
    }
    trim();
}

void TRecentFiles::SaveToIni(TIniFile& ini, const std::string& section) const {
    for (int i = 1; i <= maxItems_; ++i) {
        const std::string key = "MRU" + std::to_string(i);
        if (i <= items_.size())
            ini.IniWrite(section, key, FileNameBytes(items_[i - 1]));
        else
            ini.IniRemoveKey(section, key);
    }
}

void TRecentFiles::trim() {
    while (items_.size() > maxItems_) items_.removeLast();
}

}  // namespace pelm
