// Scrolling: the scroll position and its limits, keeping the caret in view, the
// scroll bars' values, the mouse wheel, the scroll hint and the auto-scroll of a
// mouse drag beyond the text area.
#include <algorithm>

#include "core/editor/TCustomCodeEdit.h"
#include "core/platform/Errors.h"

namespace pelm {

void TCustomCodeEdit::SetFirstRow(int row) {
    int maxRow = std::max(1, RowCount() - VisibleRows() + 1);
    row = std::clamp(row, 1, maxRow);
    if (row == firstRow_) return;
    firstRow_ = row;
    if (view_) view_->InvalidateAll();
    statusChanged(scTopLine);
}

int TCustomCodeEdit::HorzScrollRange() const {
    if (longestDirty_) {
        longestLine_ = -1;
        longestWidth_ = 0;
        for (int i = 0; i < lines_.Count(); ++i) {
            int w = lines_.ExpandedWidth(i);
            if (w > longestWidth_ || longestLine_ < 0) {
                longestLine_ = i;
                longestWidth_ = w;
            }
        }
        longestDirty_ = false;
    }
    return std::max(maxScrollWidth_, longestWidth_ + 1);
}

void TCustomCodeEdit::SetFirstColumn(int column) {
    if (wordWrap_) column = 1;
    int vc = VisibleColumns();
    int maxCol = std::max(1, maxScrollWidth_ - vc + 1);
    // Beyond MaxScrollWidth the caret's own line (cached width) usually decides;
    // only a scroll further than that needs the longest line of the buffer.
    if (column > maxCol) maxCol = std::max(maxCol, lines_.ExpandedWidth(caret_.Line - 1) + 1 - vc + 1);
    if (column > maxCol) maxCol = std::max(1, HorzScrollRange() - vc + 1);
    column = std::clamp(column, 1, maxCol);
    if (column == firstColumn_) return;
    firstColumn_ = column;
    if (view_) view_->InvalidateAll();
    statusChanged(scLeftChar);
}


void TCustomCodeEdit::EnsureCaretVisible() {
    TDisplayCoord d = CaretDisplayPos();
    int vr = std::max(1, VisibleRows());
    if (d.Row < firstRow_) SetFirstRow(d.Row);
    else if (d.Row > firstRow_ + vr - 1) SetFirstRow(d.Row - vr + 1);
    if (wordWrap_) return;
    int vc = std::max(1, VisibleColumns());
    if (d.Column < firstColumn_) SetFirstColumn(d.Column);
    else if (d.Column > firstColumn_ + vc - 1) SetFirstColumn(d.Column - vc + 1);
}


void TCustomCodeEdit::AutoScrollTick(int dxCells, int dyRows, bool shift) {
    EditTransaction view(*this, TEditScope::View);
    int vr = std::max(1, VisibleRows());
    int rows = dyRows * (shift ? vr : 1);
    int cols = dxCells;
    SetFirstRow(firstRow_ + rows);
    SetFirstColumn(firstColumn_ + cols);
    TDisplayCoord d = CaretDisplayPos();
    if (rows < 0) d.Row = firstRow_;
    else if (rows > 0) d.Row = std::min(firstRow_ + vr - 1, RowCount());
    if (cols < 0) d.Column = firstColumn_;
    else if (cols > 0) d.Column = firstColumn_ + std::max(1, VisibleColumns()) - 1;
    TBufferCoord p = RowToTextPos(d);
    TBufferCoord a = anchor_;
    setCaretRaw(ClampPos(p, false));
    setSelectionRaw(a, ClampPos(p, true));
}


namespace {
// A range above 32767 is scaled down, page and position alike.
TScrollBarInfo scaled(int range, int page, int pos) {
    TScrollBarInfo info{range, page, pos, page < range};
    if (range > 32767) {
        double f = 32767.0 / range;
        info.Range = 32767;
        info.Page = std::max(1, static_cast<int>(page * f));
        info.Position = std::max(1, static_cast<int>(pos * f));
    }
    return info;
}
}  // namespace

TScrollBarInfo TCustomCodeEdit::HorzScrollBar() const {
    if (wordWrap_) return TScrollBarInfo{0, 0, 0, false};
    return scaled(HorzScrollRange(), VisibleColumns(), firstColumn_);
}

TScrollBarInfo TCustomCodeEdit::VertScrollBar() const { return scaled(RowCount(), VisibleRows(), firstRow_); }

int TCustomCodeEdit::RowOfScrollBox(int boxPosition) const {
    int rows = RowCount();
    if (rows < 32768) return boxPosition;
    return static_cast<int>((static_cast<long long>(rows) + VisibleRows() - 1) * boxPosition / 32767);
}

std::string TCustomCodeEdit::ScrollHintText() const {
    int rows = RowCount();
    int last = firstRow_ + std::min(VisibleRows(), rows - firstRow_);
    return Format("%d - %d", LineOfRow(firstRow_), LineOfRow(last));
}

void TCustomCodeEdit::MouseWheel(int delta, bool wholePage, int wheelLines) {
    // Counted in units of 120; the remainder is kept for the next turn.
    wheelRemainder_ += delta;
    int units = wheelRemainder_ / 120;
    wheelRemainder_ -= units * 120;
    if (units == 0) return;
    int vr = std::max(1, VisibleRows());
    int step = wholePage ? vr : std::min(std::max(1, wheelLines), vr);
    SetFirstRow(firstRow_ - units * step);
}

}  // namespace pelm
