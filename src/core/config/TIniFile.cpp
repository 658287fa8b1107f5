#include "core/config/TIniFile.h"

#include "core/platform/Convert.h"
#include "core/platform/ProfileStore.h"

namespace pelm {

std::string TIniFile::IniRead(const std::string& section, const std::string& key, const std::string& def) const {
    return profile::GetString(fileName_, section, key, def);
}

int TIniFile::IniReadNumber(const std::string& section, const std::string& key, int def) const {
    std::string text = profile::GetString(fileName_, section, key, "");
    return StrToIntDef(text, def);
}

void TIniFile::writeFailed() const { throw EError(Format("Unable to write to %s", fileName_.c_str())); }

void TIniFile::IniWrite(const std::string& section, const std::string& key, const std::string& value) {
    if (!profile::WriteString(fileName_, section, std::string_view(key), std::string_view(value))) writeFailed();
}

void TIniFile::IniWriteNumber(const std::string& section, const std::string& key, int value) {
    IniWrite(section, key, std::to_string(value));
}

void TIniFile::IniReadPairs(const std::string& section, std::vector<std::string>& list) const {
    list.clear();
    for (const auto& [name, value] : profile::GetPairs(fileName_, section)) list.push_back(name + "=" + value);
}

void TIniFile::IniClearSection(const std::string& section) {
    if (!profile::WriteString(fileName_, section, std::nullopt, std::nullopt)) writeFailed();
}

void TIniFile::IniRemoveKey(const std::string& section, const std::string& key) {
    if (!profile::WriteString(fileName_, section, std::string_view(key), std::nullopt)) writeFailed();
}

}  // namespace pelm
