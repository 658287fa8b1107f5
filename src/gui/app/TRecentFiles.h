#pragma once
// The recent-files list: file names, most recent first, at most MaxItems of
// them, stored as keys "MRU1" ... "MRUn" of one INI section. Names are
// compared ignoring case.
#include <QString>
#include <QStringList>

namespace pelm {

class TIniFile;

class TRecentFiles {
public:
    const QStringList& Items() const { return items_; }
    int MaxItems() const { return maxItems_; }
    void SetMaxItems(int value);

    int IndexOf(const QString& fileName) const;
    // Puts the name at the top unless it is in the list already.
    void InsertIfAbsent(const QString& fileName);
    void MoveToTop(int index);

    void LoadFromIni(TIniFile& ini, const std::string& section);
    void SaveToIni(TIniFile& ini, const std::string& section) const;

private:
    void trim();

    QStringList items_;
    int maxItems_ = 4;
};

}  // namespace pelm
