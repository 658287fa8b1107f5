#include "core/document/SearchState.h"

#include "core/platform/Cp1251.h"

namespace pelm {

std::vector<std::string> HistoryItems(const std::string& history) {
    std::vector<std::string> items;
    size_t pos = 0;
    while (pos < history.size()) {
        size_t stop = history.find_first_of("\r\n", pos);
        if (stop == std::string::npos) stop = history.size();
        items.push_back(history.substr(pos, stop - pos));
        pos = stop;
        if (pos < history.size() && history[pos] == '\r') ++pos;
        if (pos < history.size() && history[pos] == '\n') ++pos;
    }
    return items;
}

std::string HistoryText(const std::vector<std::string>& items) {
    std::string out;
    for (size_t i = 0; i < items.size() && i < static_cast<size_t>(kHistoryLimit); ++i) {
        if (i > 0) out += "\r\n";
        out += items[i];
    }
    return out;
}

void PushHistory(std::vector<std::string>& items, const std::string& text) {
    if (text.empty()) return;
    std::string want = cp1251::LowerCase(text);
    for (size_t i = 0; i < items.size(); ++i) {
        if (cp1251::LowerCase(items[i]) == want) {
            items.erase(items.begin() + static_cast<long>(i));
            break;
        }
    }
    items.insert(items.begin(), text);
}

void PlaceNearPosition(const TRect& area, int x, int top, int bottom, int dialogWidth, int dialogHeight,
                       int& left, int& dialogTop) {
    if (dialogWidth >= area.width) {
        left = area.left - (dialogWidth - area.width) / 2;
    } else {
        left = x;
        if (left + dialogWidth > area.left + area.width) left = area.left + area.width - dialogWidth;
    }
    if (bottom > area.top + area.height * 2 / 3) dialogTop = top - dialogHeight - 4;
    else dialogTop = bottom + 4;
}

}  // namespace pelm
