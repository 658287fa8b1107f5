#pragma once
// Keeping the line buffer's end-of-line states in step with a highlighter. The
// editor calls these from the buffer's hooks: RescanFrom on a changed line or
// after deleted lines, RescanInserted after inserted lines, FullRescan when a
// highlighter is attached or reports a change of its attributes.
#include "core/editor/TCodeEditStringList.h"
#include "core/highlight/TCustomHighlighter.h"

namespace pelm {

// Rescans from line i (0-based) until a line's new end state equals the stored
// one. Returns that line, or Count-1 when the scan ran to the end; returns i
// unchanged when i >= Count.
int RescanFrom(TCodeEditStringList& lines, TCustomHighlighter& hl, int i);

// After count lines were inserted at index: rescans from index, and whenever a
// rescan stops inside the block, goes on from the line after the stop until the
// whole block is covered. Returns the last line rescanned.
int RescanInserted(TCodeEditStringList& lines, TCustomHighlighter& hl, int index, int count);

// Scans every line from ResetState and stores each end state, inside one
// BeginBatch/EndBatch on the buffer.
void FullRescan(TCodeEditStringList& lines, TCustomHighlighter& hl);

}  // namespace pelm
