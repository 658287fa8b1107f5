#include "core/editor/TCodeEditWordWrap.h"

#include <algorithm>
#include <string>

#include "core/editor/TCodeEditStringList.h"

namespace pelm {

namespace {
constexpr int MaxRowLength = 255;
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

void TCodeEditWordWrap::WrapLine(const char* cells, int n, const std::vector<bool>* tabInner, int width,
                                 int shortest, const BreakSet& breakChars, std::vector<uint8_t>& out) {
    // tabInner[k]: cell k continues a tab that started in an earlier cell, so
    // no row may start there.
    auto splitsTab = [&](int k) { return tabInner && k < n && (*tabInner)[static_cast<size_t>(k)]; };
    int start = 0;
    bool any = false;
    while (start + width < n) {
        int p = start + width;
        int end = -1;
        if (isBlank(cells[p])) {
            // Blanks stay at the end of a row: the row runs over the whole blank run.
            end = p;
            while (end < n && isBlank(cells[end])) ++end;
        } else {
            for (int k = width - 1; k >= shortest + 1; --k)
                if (breakChars[static_cast<unsigned char>(cells[start + k])]) {
                    end = start + k + 1;
                    break;
                }
            if (end < 0) end = p;
        }
        if (end - start > MaxRowLength) {
            end = start + MaxRowLength;
            while (end > start + 1 && splitsTab(end)) --end;
        }
        while (end > start + 1 && splitsTab(end)) --end;
        out.push_back(static_cast<uint8_t>(end - start));
        any = true;
        start = end;
    }
    // The rest of the line is its last row; an empty line has one empty row.
    if (start < n || !any) {
        while (n - start > MaxRowLength) {
            int end = start + MaxRowLength;
            while (end > start + 1 && splitsTab(end)) --end;
            out.push_back(static_cast<uint8_t>(end - start));
            start = end;
        }
        out.push_back(static_cast<uint8_t>(n - start));
    }
}

void TCodeEditWordWrap::wrapIndex(int index, std::vector<uint8_t>& out) const {
    std::string scratch;
    std::string_view text = lines_.ExpandedView(index, scratch);
    std::vector<bool> inner;
    const std::vector<bool>* innerPtr = nullptr;
    std::string_view raw = lines_.Line(index);
    if (raw.find('\t') != std::string_view::npos) {
        inner.assign(text.size(), false);
        int tw = lines_.TabWidth();
        size_t cell = 0;
        for (char c : raw) {
            size_t span = 1;
            if (c == '\t') span = static_cast<size_t>(tw - static_cast<int>(cell % static_cast<size_t>(tw)));
            for (size_t k = 1; k < span && cell + k < inner.size(); ++k) inner[cell + k] = true;
            cell += span;
        }
        innerPtr = &inner;
    }
    WrapLine(text.data(), static_cast<int>(text.size()), innerPtr, width_, shortest_, breaks_, out);
}

void TCodeEditWordWrap::Reset() {
    lineEnd_.clear();
    rowLength_.clear();
}

void TCodeEditWordWrap::Rebuild(int visibleColumns, const BreakSet& breakChars) {
    breaks_ = breakChars;
    width_ = std::max(1, std::min(visibleColumns, MaxRowLength));
    shortest_ = std::max(1, width_ - width_ / 3);
    Reset();
    int n = lines_.Count();
    lineEnd_.reserve(static_cast<size_t>(n));
    rowLength_.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        wrapIndex(i, rowLength_);
        lineEnd_.push_back(static_cast<int>(rowLength_.size()));
    }
}

void TCodeEditWordWrap::LinesInserted(int index, int count) {
    if (index < 0 || index > LineCount() || count <= 0) return;
    std::vector<uint8_t> rows;
    std::vector<int> ends;
    for (int k = 0; k < count; ++k) {
        wrapIndex(index + k, rows);
        ends.push_back(static_cast<int>(rows.size()));
    }
    int base = index == 0 ? 0 : lineEnd_[static_cast<size_t>(index - 1)];
    rowLength_.insert(rowLength_.begin() + base, rows.begin(), rows.end());
    int added = static_cast<int>(rows.size());
    for (size_t k = static_cast<size_t>(index); k < lineEnd_.size(); ++k) lineEnd_[k] += added;
    for (int& e : ends) e += base;
    lineEnd_.insert(lineEnd_.begin() + index, ends.begin(), ends.end());
}

void TCodeEditWordWrap::LinesDeleted(int index, int count) {
    if (index < 0 || index >= LineCount() || count <= 0) return;
    count = std::min(count, LineCount() - index);
    int base = index == 0 ? 0 : lineEnd_[static_cast<size_t>(index - 1)];
    int last = lineEnd_[static_cast<size_t>(index + count - 1)];
    rowLength_.erase(rowLength_.begin() + base, rowLength_.begin() + last);
    lineEnd_.erase(lineEnd_.begin() + index, lineEnd_.begin() + index + count);
    int removed = last - base;
    for (size_t k = static_cast<size_t>(index); k < lineEnd_.size(); ++k) lineEnd_[k] -= removed;
}

bool TCodeEditWordWrap::LinePut(int index) {
    if (index < 0 || index >= LineCount()) return false;
    std::vector<uint8_t> rows;
    wrapIndex(index, rows);
    int base = index == 0 ? 0 : lineEnd_[static_cast<size_t>(index - 1)];
    int old = lineEnd_[static_cast<size_t>(index)] - base;
    int now = static_cast<int>(rows.size());
    if (old == now) {
        std::copy(rows.begin(), rows.end(), rowLength_.begin() + base);
        return false;
    }
    rowLength_.erase(rowLength_.begin() + base, rowLength_.begin() + base + old);
    rowLength_.insert(rowLength_.begin() + base, rows.begin(), rows.end());
    for (size_t k = static_cast<size_t>(index); k < lineEnd_.size(); ++k) lineEnd_[k] += now - old;
    return true;
}

int TCodeEditWordWrap::RowOfLine(int line) const {
    if (line <= 1) return 1;
    if (line - 1 > LineCount()) return RowCount() + (line - 1 - LineCount()) + 1;
    return lineEnd_[static_cast<size_t>(line - 2)] + 1;
}

int TCodeEditWordWrap::RowsOfLine(int line) const {
    if (line < 1 || line > LineCount()) return 1;
    return lineEnd_[static_cast<size_t>(line - 1)] - (line == 1 ? 0 : lineEnd_[static_cast<size_t>(line - 2)]);
}

int TCodeEditWordWrap::LineOfRow(int row) const {
    if (row <= 1) return 1;
    if (row > RowCount()) return LineCount() + (row - RowCount());
    // First line whose end index reaches the row.
    auto it = std::lower_bound(lineEnd_.begin(), lineEnd_.end(), row);
    return static_cast<int>(it - lineEnd_.begin()) + 1;
}

int TCodeEditWordWrap::RowLength(int row) const {
    if (row < 1 || row > RowCount()) return 0;
    return rowLength_[static_cast<size_t>(row - 1)];
}

}  // namespace pelm
