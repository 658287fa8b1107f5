#include "core/editor/TCodeEditClipboard.h"

namespace pelm {

std::string MakeBlockData(int mode, const std::string& text) {
    std::string d;
    d.reserve(text.size() + 2);
    d.push_back(static_cast<char>(mode));
    d += text;
    d.push_back('\0');
    return d;
}

bool ParseBlockData(const std::string& data, int& mode, std::string& text) {
    if (data.empty()) return false;
    mode = static_cast<unsigned char>(data[0]);
    size_t end = data.find('\0', 1);
    text = data.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    return true;
}

bool TMemoryClipboard::SetContent(const std::string& text, const std::string* blockData) {
    if (failNextSet) {
        failNextSet = false;
        return false;
    }
    text_ = text;
    if (blockData) block_ = *blockData;
    else block_.reset();
    return true;
}

}  // namespace pelm
