#include "core/highlight/Rescan.h"

namespace pelm {

int RescanFrom(TCodeEditStringList& lines, TCustomHighlighter& hl, int i) {
    int count = lines.Count();
    if (i >= count) return i;
    if (i < 0) i = 0;
    if (i > 0)
        hl.SetState(static_cast<uint32_t>(lines.LineState(i - 1)));
    else
        hl.ResetState();
    for (;;) {
        hl.StartLine(lines.Line(i), i);
        hl.ScanToLineEnd();
        int32_t r = static_cast<int32_t>(hl.GetState());
        if (r == lines.LineState(i)) return i;
        lines.SetLineState(i, r);
        if (++i >= count) return count - 1;
        // The highlighter already holds r as its state for the next line.
    }
}

int RescanInserted(TCodeEditStringList& lines, TCustomHighlighter& hl, int index, int count) {
    int last = RescanFrom(lines, hl, index);
    int blockEnd = index + count - 1;
    while (last < blockEnd && last + 1 < lines.Count()) last = RescanFrom(lines, hl, last + 1);
    return last;
}

void FullRescan(TCodeEditStringList& lines, TCustomHighlighter& hl) {
    BatchGuard batch(lines);
    hl.ResetState();
    int count = lines.Count();
    for (int i = 0; i < count; ++i) {
        hl.StartLine(lines.Line(i), i);
        hl.ScanToLineEnd();
        lines.SetLineState(i, static_cast<int32_t>(hl.GetState()));
    }
}

}  // namespace pelm
