#pragma once
// The word-wrap map: how each line of the buffer is cut into display rows. Kept
// only while word wrap is on. Rows and lines are 1-based in the interface.
#include <array>
#include <cstdint>
#include <vector>

namespace pelm {

class TCodeEditStringList;

class TCodeEditWordWrap {
public:
    using BreakSet = std::array<bool, 256>;

    TCodeEditWordWrap(const TCodeEditStringList& lines) : lines_(lines) {}

    // Rebuilds the whole map for a row width of `visibleColumns` cells (at most 255).
    void Rebuild(int visibleColumns, const BreakSet& breakChars);
    void Reset();

    // Following the buffer (0-based indexes, as the buffer's hooks give them).
    void LinesInserted(int index, int count);
    void LinesDeleted(int index, int count);
    // Re-wraps one line; true when its number of rows changed.
    bool LinePut(int index);

    int RowWidth() const { return width_; }
    int ShortestRow() const { return shortest_; }
    int LineCount() const { return static_cast<int>(lineEnd_.size()); }
    int RowCount() const { return lineEnd_.empty() ? 0 : lineEnd_.back(); }
    // First row of a line; for a line past the end, the row after the last.
    int RowOfLine(int line) const;
    int RowsOfLine(int line) const;
    // The line holding a row; rows past the end give the last line + the excess.
    int LineOfRow(int row) const;
    // Length in cells of a row (0..255).
    int RowLength(int row) const;

    // Cuts an expanded line into row lengths with the break rules. Exposed for tests.
    static void WrapLine(const char* cells, int n, const std::vector<bool>* tabInner, int width,
                         int shortest, const BreakSet& breakChars, std::vector<uint8_t>& out);

private:
    void wrapIndex(int index, std::vector<uint8_t>& out) const;

    const TCodeEditStringList& lines_;
    BreakSet breaks_{};
    int width_ = 1;
    int shortest_ = 1;
    std::vector<int> lineEnd_;       // per line: index just past its last row
    std::vector<uint8_t> rowLength_; // per row: length in cells
};

}  // namespace pelm
