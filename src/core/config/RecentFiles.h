#pragma once
// The recent-files list: file names as the document held them, most recent
// first, at most MaxItems of them, stored as "MRU1".."MRUn" in one INI section.
#include <string>
#include <vector>

namespace pelm {

class TIniFile;

class TRecentFiles {
public:
    int MaxItems() const { return maxItems_; }
    // Entries beyond the new maximum are dropped from the end at once.
    void SetMaxItems(int n);

    const std::vector<std::string>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    void Clear() { items_.clear(); }

    // Index of the entry naming the same file (case ignored), or -1.
    int Find(const std::string& fileName) const;
    // Adds the name at the top unless it is already listed; an existing entry
    // keeps its place. The last entry drops off when the list is full. A name
    // holding a control character (a line break) is not listed: it could not
    // be stored as one value nor shown as one menu item.
    void InsertIfAbsent(const std::string& fileName);
    // Moves entry i to the top.
    void MoveToTop(int i);

    // Keys "MRU1".."MRU<max>"; empty or missing keys are skipped.
    void Load(const TIniFile& ini, const std::string& section);
    // Writes "MRU<i>" for each entry and removes the keys past the last entry.
    void Save(TIniFile& ini, const std::string& section) const;

    // Menu caption of entry i: "&1 name" .. "&9 name", "&A name" .. "&Z name",
    // later entries the title alone; "&" in the title is doubled.
    std::string Caption(int i) const;
    // The file's title: its name without folders.
    static std::string Title(const std::string& fileName);

private:
    void trim();
    std::vector<std::string> items_;
    int maxItems_ = 4;
};

}  // namespace pelm
