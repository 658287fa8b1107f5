#include "core/authoring/RelativePath.h"

#include <sys/stat.h>

#include <vector>

namespace pelm {

namespace {

std::string FolderOf(const std::string& fileName) {
    const size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

std::vector<std::string> Folders(const std::string& folder) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < folder.size()) {
        size_t end = folder.find('/', start);
        if (end == std::string::npos) end = folder.size();
        if (end > start) parts.push_back(folder.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

std::string RelativeFileName(const std::string& docFileName, const std::string& fileName, bool sameMount) {
    if (docFileName.empty() || !sameMount || docFileName[0] != '/' || fileName.empty() || fileName[0] != '/')
        return fileName;
    const std::vector<std::string> doc = Folders(FolderOf(docFileName));
    const std::vector<std::string> file = Folders(FolderOf(fileName));
    size_t common = 0;
    while (common < doc.size() && common < file.size() && doc[common] == file[common]) ++common;
    std::string result;
    for (size_t i = common; i < doc.size(); ++i) result += "../";
    for (size_t i = common; i < file.size(); ++i) result += file[i] + "/";
    return result + fileName.substr(fileName.rfind('/') + 1);
}

bool OnSameMount(const std::string& docFileName, const std::string& fileName) {
    struct stat a, b;
    const std::string da = FolderOf(docFileName), db = FolderOf(fileName);
    if (da.empty() || db.empty() || ::stat(da.c_str(), &a) != 0 || ::stat(db.c_str(), &b) != 0) return true;
    return a.st_dev == b.st_dev;
}

}  // namespace pelm
