#include "core/config/RecentFiles.h"

#include "core/config/TIniFile.h"
#include "core/document/CaretMemory.h"
#include "core/platform/Cp1251.h"

namespace pelm {

void TRecentFiles::SetMaxItems(int n) {
    maxItems_ = n < 0 ? 0 : n;
    trim();
}

void TRecentFiles::trim() {
    if (static_cast<int>(items_.size()) > maxItems_) items_.resize(static_cast<size_t>(maxItems_));
}

int TRecentFiles::Find(const std::string& fileName) const {
    std::string want = cp1251::LowerCase(fileName);
    for (size_t i = 0; i < items_.size(); ++i)
        if (cp1251::LowerCase(items_[i]) == want) return static_cast<int>(i);
    return -1;
}

void TRecentFiles::InsertIfAbsent(const std::string& fileName) {
    if (HasControlCharacter(fileName) || Find(fileName) >= 0) return;
    items_.insert(items_.begin(), fileName);
    trim();
}

void TRecentFiles::MoveToTop(int i) {
    if (i <= 0 || i >= Count()) return;
    std::string name = items_[static_cast<size_t>(i)];
    items_.erase(items_.begin() + i);
    items_.insert(items_.begin(), name);
}

void TRecentFiles::Load(const TIniFile& ini, const std::string& section) {
    items_.clear();
    for (int i = 1; i <= maxItems_; ++i) {
        std::string v = ini.IniRead(section, "MRU" + std::to_string(i), "");
        if (!v.empty()) items_.push_back(v);
    }
}

void TRecentFiles::Save(TIniFile& ini, const std::string& section) const {
    for (int i = 1; i <= maxItems_; ++i) {
        std::string key = "MRU" + std::to_string(i);
        if (i <= Count()) ini.IniWrite(section, key, items_[static_cast<size_t>(i - 1)]);
        else ini.IniRemoveKey(section, key);
    }
}

std::string TRecentFiles::Title(const std::string& fileName) {
    size_t slash = fileName.find_last_of("/\\");
    std::string t = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    return t.empty() ? fileName : t;
}

std::string TRecentFiles::Caption(int i) const {
    std::string title;
    for (char c : Title(items_[static_cast<size_t>(i)])) {
        title += c;
        if (c == '&') title += '&';
    }
    if (i < 9) return "&" + std::string(1, static_cast<char>('1' + i)) + " " + title;
    if (i < 35) return "&" + std::string(1, static_cast<char>('A' + i - 9)) + " " + title;
    return title;
}

}  // namespace pelm
