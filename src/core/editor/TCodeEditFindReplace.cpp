// The search-replace loop: walks the lines of the search range with the search
// engine, selects each match, asks the host what to do with it and replaces it.
//
// Matches are found once per line, in the line's text as it was before any
// replacement on it. A match is tested against the range in those original
// columns and mapped to its present place through the line's column shift
// (and, after a replacement that broke the line, to the line now holding the
// rest of the original text).
//
// A replace-all without prompts does not replace match by match: it collects
// the line's matches and their replacement texts and rewrites the changed span
// of the line once, inside the run's undo block. That keeps a line with tens of
// thousands of matches linear, and one undo still reverts the whole run.
#include <algorithm>

#include "core/editor/TCustomCodeEdit.h"

namespace pelm {

namespace {

// Where inserting s at `at` in stream mode ends (before trimming).
TBufferCoord EndOfInsertion(TBufferCoord at, std::string_view s) {
    TBufferCoord end = at;
    size_t rowStart = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
            ++end.Line;
            end.Column = 1;
            rowStart = i + 1;
        }
    }
    end.Column += static_cast<int>(s.size() - rowStart);
    return end;
}

// Holds what a run opened (painting lock, undo block) and gives it back however
// the run ends, an engine error included.
class RunScope {
public:
    explicit RunScope(TCustomCodeEdit& e) : e_(e) {}
    ~RunScope() {
        if (painting_) e_.UnlockPainting();
        if (block_) e_.CloseUndoBlock();
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

    void StopPainting() {
        if (painting_) return;
        e_.LockPainting();
        painting_ = true;
    }
    void OpenUndoBlock() {
        if (block_) return;
        e_.OpenUndoBlock();
        block_ = true;
    }

private:
    TCustomCodeEdit& e_;
    bool painting_ = false;
    bool block_ = false;
};

// One match waiting for the line's one-pass rewrite, in present columns.
struct PendingReplacement {
    int column;
    int length;
    std::string text;
};

}  // namespace

void TCustomCodeEdit::centreLine(TBufferCoord p) {
    // The line's start first, then the line into the middle of the window when
    // it was out of view by more than one row.
    SetFirstColumn(1);
    int row = TextToRowPos(p).Row;
    int rows = std::max(1, VisibleRows());
    if (row < firstRow_ - 1 || row > firstRow_ + rows) SetFirstRow(row - (rows - 1) / 2);
}

void TCustomCodeEdit::showFoundMatch(TBufferCoord start, TBufferCoord end, bool backwards) {
    centreLine(start);
    if (backwards) SetSelection(end, start);
    else SetSelection(start, end);
    EnsureCaretVisible();
}

// Replaces b..e (one line's bytes) by s as stream text, whatever the selection
// mode, as one undoable step; the caret ends after the inserted text.
//
// The line is trimmed of trailing blanks as every written line is, and the
// undo records cover exactly what changed, trimmed blanks included, so that
// undo gives back the line as it was.
TBufferCoord TCustomCodeEdit::replaceSpanRecorded(TBufferCoord b, TBufferCoord e, std::string_view s) {
    EditTransaction tx(*this, TEditScope::Host);
    const bool trim = HasOption(eoTrimTrailingSpaces);
    TBufferCoord end;
    if (s.find_first_of("\r\n") != std::string_view::npos) {
        // The replacement breaks the line: the general text replacement.
        if (b < e) deleteRange(b, e, smNormal, b.Line, {&undoList_, ckDelete});
        end = insertText(b, s, smNormal, {&undoList_, ckInsert});
        trimTrailingRecorded(b.Line, end.Line, undoList_);
    } else {
        std::string_view line = LineText(b.Line);
        const size_t from = std::min(static_cast<size_t>(b.Column - 1), line.size());
        const size_t to = std::min(static_cast<size_t>(e.Column - 1), line.size());
        std::string now;
        now.reserve(line.size() - (to - from) + s.size());
        now.append(line.substr(0, from)).append(s).append(line.substr(to));
        if (trim) {
            size_t n = now.size();
            while (n > 0 && (now[n - 1] == ' ' || now[n - 1] == '\t')) --n;
            now.resize(n);
        }
        // The changed stretch: what lies between the common start and end.
        size_t head = 0;
        const size_t common = std::min(line.size(), now.size());
        while (head < common && line[head] == now[head]) ++head;
        size_t tail = 0;
        while (tail < common - head && line[line.size() - 1 - tail] == now[now.size() - 1 - tail]) ++tail;
        std::string removed(line.substr(head, line.size() - tail - head));
        std::string_view added = std::string_view(now).substr(head, now.size() - tail - head);
        const TBufferCoord db{static_cast<int>(head) + 1, b.Line};
        const TBufferCoord de{static_cast<int>(line.size() - tail) + 1, b.Line};
        if (!removed.empty() || !added.empty()) {
            if (!removed.empty()) deleteRange(db, de, smNormal, b.Line, {&undoList_, ckDelete});
            insertText(db, added, smNormal, {&undoList_, ckInsert});
        }
        end = TBufferCoord{b.Column + static_cast<int>(s.size()), b.Line};
    }
    setCaretRaw(end);
    setSelectionRaw(end, end);
    return end;
}

int TCustomCodeEdit::FindAndReplace(std::string_view searchText, std::string_view replaceText,
                                    TSearchOptions options) {
    if (!searchEngine_) throw ECodeEditError("No search engine has been assigned");
    if (searchText.empty() || lines_.Count() == 0) return 0;
    if (!HasSelection()) options &= static_cast<TSearchOptions>(~soSelectedOnly);

    const bool backwards = options & soBackwards;
    const bool replace = options & soReplace;
    bool replaceAll = options & soReplaceAll;
    bool prompt = options & soPrompt;
    const TSelectionMode mode = selectionMode_;

    // The range.
    TBufferCoord start, end;
    if (options & soSelectedOnly) {
        start = SelBeginPos();
        end = SelEndPos();
        if (mode == smLine) {
            start.Column = 1;
            end.Column = LineLength(end.Line) + 1;
        } else if (mode == smColumn && end.Column < start.Column) {
            std::swap(start.Column, end.Column);
        }
    } else {
        int last = lines_.Count();
        start = TBufferCoord{1, 1};
        end = TBufferCoord{LineLength(last) + 1, last};
        if (!(options & soEntireScope)) {
            if (backwards) end = caret_;
            else start = caret_;
        }
    }
    start.Line = std::clamp(start.Line, 1, lines_.Count());
    end.Line = std::clamp(end.Line, 1, lines_.Count());
    const bool columnFilter = mode == smColumn && end.Column > start.Column;

    searchEngine_->SetSearchOptions(options);
    searchEngine_->SetPattern(searchText);
    const std::string search(searchText);
    const std::string replacement(replaceText);

    RunScope run(*this);
    // Replacing everything without asking: no painting, one undo block, and
    // each line rewritten in one pass.
    bool onePass = false;
    if (replaceAll && !prompt) {
        run.StopPainting();
        run.OpenUndoBlock();
        onePass = true;
    }

    int count = 0;
    bool rewritten = false;  // a one-pass rewrite happened: show where it ended
    TBufferCoord lastCaret;
    int firstLine = start.Line, lastLine = end.Line;
    for (int line = backwards ? lastLine : firstLine; backwards ? line >= firstLine : line <= lastLine;
         line += backwards ? -1 : 1) {
        const int n = searchEngine_->FindAllInLine(LineText(line));
        if (n == 0) continue;
        const bool onFirst = line == firstLine, onLast = line == lastLine;
        // Where the rest of the original line lives now: forward, replacements
        // are left of the remaining matches and move them; backwards they are
        // right of them and move nothing.
        int curLine = line;
        int shift = 0;
        // The shift that also counts the replacements waiting for the one-pass
        // rewrite: the column filter sees each match where it will stand.
        int filterShift = 0;
        std::vector<PendingReplacement> pending;

        for (int k = 0; k < n; ++k) {
            const int i = backwards ? n - 1 - k : k;
            const int pos = searchEngine_->MatchPosition(i);
            const int len = searchEngine_->MatchLength(i);
            if (mode != smColumn) {
                // A line selection has whole lines for its range, which this
                // leaves whole; a range from the caret starts or ends there in
                // line mode too, or find next would stop on the same match again.
                if (onFirst && pos < start.Column) continue;
                if (onLast && pos + len > end.Column) continue;
            } else if (columnFilter) {
                int p = pos + filterShift;
                if (p < start.Column || p + len > end.Column) continue;
            }
            ++count;
            const TBufferCoord ms{pos + shift, curLine}, me{pos + shift + len, curLine};
            if (onePass) {
                pending.push_back({ms.Column, len, searchEngine_->ReplacementForMatch(i, replacement)});
                if (columnFilter && !backwards)
                    filterShift = EndOfInsertion(TBufferCoord{pos + filterShift, curLine}, pending.back().text).Column -
                                  (pos + len);
                continue;
            }

            showFoundMatch(ms, me, backwards);
            if (!replace && !replaceAll) return count;

            TCodeReplaceAction action = raReplace;
            if (prompt && OnReplaceText) {
                OnReplaceText(search, replacement, ms.Line, ms.Column, action);
                if (action == raCancel) return count;
            }
            if (action == raSkip) {
                // Forward, the caret goes past the skipped match so that a later
                // find-next does not stop on it again.
                if (!backwards) SetCaretPos(me);
            } else {
                if (action == raReplaceAll) {
                    // This match already belongs to the run's one undo block.
                    replaceAll = true;
                    prompt = false;
                    run.StopPainting();
                    run.OpenUndoBlock();
                }
                TBufferCoord after = replaceSpanRecorded(ms, me, searchEngine_->ReplacementForMatch(i, replacement));
                if (!backwards) {
                    shift = after.Column - (pos + len);
                    filterShift = shift;
                    if (after.Line != curLine) {
                        lastLine += after.Line - curLine;
                        curLine = after.Line;
                    }
                    SetCaretPos(after);
                } else {
                    EnsureCaretVisible();
                }
                if (action == raReplaceAll) onePass = true;
            }
            if (!replaceAll) return count;
        }

        if (!pending.empty()) {
            // Rewrite the span from the first to the last match once.
            if (backwards) std::reverse(pending.begin(), pending.end());
            std::string_view text = LineText(curLine);
            const int spanStart = pending.front().column;
            const int spanEnd = pending.back().column + pending.back().length;
            std::string span;
            int at = spanStart;
            for (const PendingReplacement& r : pending) {
                span.append(text.substr(static_cast<size_t>(at - 1), static_cast<size_t>(r.column - at)));
                span += r.text;
                at = r.column + r.length;
            }
            TBufferCoord after = replaceSpanRecorded(TBufferCoord{spanStart, curLine}, TBufferCoord{spanEnd, curLine}, span);
            if (backwards) {
                // The run ends after the leftmost replacement, the last one made.
                lastCaret = EndOfInsertion(TBufferCoord{spanStart, curLine}, pending.front().text);
            } else {
                lastCaret = after;
                if (after.Line != curLine) lastLine += after.Line - curLine;
                line = after.Line;
            }
            rewritten = true;
        } else if (!backwards) {
            line = curLine;
        }
    }
    if (rewritten) {
        SetCaretPos(lastCaret);
        centreLine(caret_);
        EnsureCaretVisible();
    }
    return count;
}

}  // namespace pelm
