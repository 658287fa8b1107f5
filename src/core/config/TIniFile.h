#pragma once
// An INI file read and written key by key: "pelm.ini" and the tag description
// files. Every read looks at the file (a parsed copy serves while the file is
// unchanged) and every write reaches it at once, so several objects on one file,
// and several programs, mix safely.
#include <string>
#include <vector>

#include "core/platform/Errors.h"

namespace pelm {

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

    std::string IniRead(const std::string& section, const std::string& key, const std::string& def) const;
    int IniReadNumber(const std::string& section, const std::string& key, int def) const;
    void IniWrite(const std::string& section, const std::string& key, const std::string& value);
    void IniWriteNumber(const std::string& section, const std::string& key, int value);
    // Clears the list, then adds "key=value" per key of the section, in file order.
    void IniReadPairs(const std::string& section, std::vector<std::string>& list) const;
    void IniClearSection(const std::string& section);
    void IniRemoveKey(const std::string& section, const std::string& key);

private:
    [[noreturn]] void writeFailed() const;
    std::string fileName_;
};

}  // namespace pelm
