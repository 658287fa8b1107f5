#pragma once
// Marks in the gutter: the ten numbered bookmarks and any other marks. The list
// owns the mark objects; the editor's ten bookmark slots point into it.
#include <memory>
#include <vector>

namespace pelm {

struct TCodeEditMark {
    int Line = 1;
    int Column = 1;
    int ImageIndex = 0;
    int MarkSlot = -1;  // 0..9 for a bookmark, -1 for another mark
    bool Visible = true;
    bool UseBuiltInImage = false;
    bool IsBookmark() const { return MarkSlot >= 0; }
};

class TCodeEditMarkList {
public:
    TCodeEditMark* Add(std::unique_ptr<TCodeEditMark> mark);
    // Removes and frees the mark; false when it is not in the list.
    bool Remove(TCodeEditMark* mark);
    void Clear() { marks_.clear(); }
    int Count() const { return static_cast<int>(marks_.size()); }
    TCodeEditMark& Items(int i) const { return *marks_[static_cast<size_t>(i)]; }
    // The marks on one line, in list order.
    std::vector<TCodeEditMark*> MarksOnLine(int line) const;

    // Following edits (lines 1-based, lineCountBefore the buffer's count before
    // the change). Inserted lines push down every mark on or below the first
    // new line among the existing lines; a mark past the end of the text (kept
    // from a longer file) stays where it is.
    void LinesInserted(int firstLine, int count, int lineCountBefore);
    // Deleted lines pull up the marks below; marks on the removed lines go to the
    // line that took their place. When the lines went at the end of the text no
    // line took it: the mark is then past the end, neither drawn nor reachable,
    // as after loading a shorter file.
    void LinesDeleted(int firstLine, int count, int lineCountAfter);

private:
    std::vector<std::unique_ptr<TCodeEditMark>> marks_;
};

}  // namespace pelm
