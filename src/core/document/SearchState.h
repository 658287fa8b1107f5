#pragma once
// What the search and replace dialogs remember between uses (in memory only),
// their history lists, and the placement of the replace prompt beside a match.
#include <cstdint>
#include <string>
#include <vector>

namespace pelm {

struct TSearchState {
    bool LastBackwards = false;
    bool LastMatchCase = false;
    bool LastFromCaret = false;
    bool LastSelectionOnly = false;
    bool LastWholeWords = false;
    bool LastRegex = false;
    std::string LastSearchText;
    std::string SearchHistory;  // up to 10 texts, newest first, joined by CR LF
    std::string LastReplaceText;
    std::string ReplaceHistory;
};

constexpr int kHistoryLimit = 10;

// A history string as list items, one per line.
std::vector<std::string> HistoryItems(const std::string& history);
// The first 10 items joined by CR LF.
std::string HistoryText(const std::vector<std::string>& items);
// Moves a non-empty text to the top of the list: an equal entry (case ignored)
// is removed first.
void PushHistory(std::vector<std::string>& items, const std::string& text);

struct TRect {
    int left, top, width, height;
};
// Where the replace prompt of the given size goes for a match whose start is at
// x, between top and bottom, inside area (all in screen pixels).
void PlaceNearPosition(const TRect& area, int x, int top, int bottom, int dialogWidth, int dialogHeight,
                       int& left, int& dialogTop);

}  // namespace pelm
