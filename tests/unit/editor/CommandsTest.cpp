// Editing commands in marker notation: text + steps -> expected text.
#include <gtest/gtest.h>

#include "EditorTestUtil.h"

using namespace pelm;
using namespace editortest;

namespace {

struct Case {
    const char* name;
    const char* before;
    const char* steps;
    const char* after;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class Commands : public ::testing::TestWithParam<Case> {};

TEST_P(Commands, Apply) {
    const Case& c = GetParam();
    TCustomCodeEdit e;
    EXPECT_EQ(Apply(e, c.before, c.steps), c.after);
}

const Case typing[] = {
    {"TypeAtColumn10OfEmptyLine", "~~~~~~~~~|", "x", "         x|"},
    {"TypeInsertsAtCaret", "ab|cd", "XY", "abXY|cd"},
    {"TypeOverSelection", "a[bc|]d", "X", "aX|d"},
    {"TypeOverwrite", "ab|cd", "{Ins}XYZ", "abXYZ|"},
    {"ControlCharsIgnored", "ab|", "\x01\x7f", "ab|"},
    {"SpaceOnBlankLineKeepsLineEmpty", "|", "   ", "~~~|"},
    {"SpaceAfterTabOnBlankLineCountsTabCells", "\t|", " ", "~~~~~~~~~|"},
    {"SpacesThenLetterFillGap", "|", "  x", "  x|"},
    {"OverwritePastEndFills", "ab~~|", "{Ins}x", "ab  x|"},
};
INSTANTIATE_TEST_SUITE_P(Typing, Commands, ::testing::ValuesIn(typing));

const Case tabs[] = {
    {"PlainTabLine1Col3", "ab|", "{Tab}", "ab~~~~~~|"},
    {"PlainTabInsideText", "ab|cd", "{Tab}", "ab      |cd"},
    {"SmartTabUnderIf", "if  (\n|x", "{Tab}", "if  (\n    |x"},
    {"SmartTabSkipsShortLines", "abc def\nx\n  |y", "{Tab}", "abc def\nx\n    |y"},
    {"TabReplacesSelection", "a[bc|]d", "{Tab}", "a       |d"},
    {"ShiftTabToPrevStop", "          |x", "{STab}", "        |x"},
    {"ShiftTabSmartToWordStart", "ab  cd\n      |x", "{STab}", "ab  cd\n    |x"},
    {"ShiftTabPastEndJumps", "ab~~~~~~~~~~|", "{STab}", "ab~~~~~~|"},
    {"ShiftTabAtColumn1", "|ab", "{STab}", "|ab"},
};
INSTANTIATE_TEST_SUITE_P(Tabs, Commands, ::testing::ValuesIn(tabs));

const Case breaks[] = {
    {"EnterBetweenCAndD", "    abc|def", "{Enter}", "    abc\n    |def"},
    {"EnterTrimsLeftPart", "ab  |cd", "{Enter}", "ab\n|cd"},
    {"EnterAtColumn1", "|abc", "{Enter}", "\n|abc"},
    {"EnterPastEndCopiesIndent", "\t ab|", "{Enter}", "\t ab\n\t |"},
    {"EnterOnEmptyLineIndentsVirtually", "  ab\n|", "{Enter}", "  ab\n\n~~|"},
    {"EnterReplacesSelection", "a[bc|]d", "{Enter}", "a\n|d"},
    {"InsertLineKeepsCaret", "ab|cd", "{InsLine}", "ab|\ncd"},
    {"EnterTabIndentMeasured", "\tab|cd", "{Enter}", "\tab\n        |cd"},
};
INSTANTIATE_TEST_SUITE_P(LineBreaks, Commands, ::testing::ValuesIn(breaks));

const Case deletions[] = {
    {"BackspaceChar", "ab|c", "{BS}", "a|c"},
    {"BackspaceJoinsLines", "ab\n|cd", "{BS}", "ab|cd"},
    {"BackspaceLine1Col1", "|ab", "{BS}", "|ab"},
    {"BackspaceUnindent", "  a\n    |b", "{BS}", "  a\n  |b"},
    {"BackspaceUnindentToZero", "a\n    |b", "{BS}", "a\n|b"},
    {"BackspacePastEndJumpsToEnd", "ab~~~|", "{BS}", "ab|"},
    {"BackspaceEmptyLineToIndentAbove", "    x\n      y\n~~~~~~|", "{BS}", "    x\n      y\n~~~~|"},
    {"BackspaceSelection", "a[bc|]d", "{BS}", "a|d"},
    {"DeleteChar", "a|bc", "{Del}", "a|c"},
    {"DeleteJoinsNext", "ab|\ncd", "{Del}", "ab|cd"},
    {"DeletePastEndFillsAndJoins", "ab~~|\ncd", "{Del}", "ab  |cd"},
    {"DeleteOnLastLineEnd", "ab|", "{Del}", "ab|"},
    {"DeleteWordAndSpaces", "|abc  def", "{DelWord}", "|def"},
    {"DeleteWordOnSpaces", "ab|   cd", "{DelWord}", "ab|cd"},
    {"DeleteWordOnPunct", "ab|.  cd", "{DelWord}", "ab|cd"},
    {"DeleteWordJoinsWithoutLeadingSpaces", "ab|\n   cd", "{DelWord}", "ab|cd"},
    {"DeleteLastWord", "abc def|", "{DelLastWord}", "abc |"},
    {"DeleteBOL", "abc|def", "{DelBOL}", "|def"},
    {"DeleteEOL", "abc|def", "{DelEOL}", "abc|"},
    {"DeleteLineMiddle", "a\nb|b\nc", "{DelLine}", "a\n|c"},
    {"DeleteLineLast", "a\nb|b", "{DelLine}", "|a"},
    {"DeleteLineOnly", "a|b", "{DelLine}", "|"},
};
INSTANTIATE_TEST_SUITE_P(Deletions, Commands, ::testing::ValuesIn(deletions));

const Case modes[] = {
    // Down in column mode widens the block by one column, so it is never empty.
    {"ColumnSelectDownWidensBlock", "a|b\ncd", "{ColumnMode}{S-Down}{Copy}{Normal}{Bottom}{Paste}", "ab\ncdb\n  d|"},
    {"ColumnTypeReplacesBlock", "a[bc\nde|]f", "{ColumnMode}X", "ac\ndX|f"},
    {"LineModeTypeOverLines", "a\n[b|]\nc", "{LineMode}X", "a\nX|c"},
    {"LineModeCutPasteMovesLine", "[a|]\nb\nc", "{LineMode}{Cut}{Down}{Paste}", "b\na\n|c"},
};
INSTANTIATE_TEST_SUITE_P(SelectionModes, Commands, ::testing::ValuesIn(modes));

const Case movement[] = {
    {"LeftStopsAtColumn1", "|ab\ncd", "{Left}", "|ab\ncd"},
    {"RightIntoVirtualSpace", "ab|", "{Right}{Right}", "ab~~|"},
    {"DownKeepsDisplayColumn", "abcd|\nx", "{Down}", "abcd\nx~~~|"},
    {"DownThroughTab", "abcdefghij|\n\tx", "{Down}", "abcdefghij\n\tx~|"},
    {"UpStopsAtFirstRow", "a|b", "{Up}", "a|b"},
    {"HomeEnd", "ab|cd", "{Home}", "|abcd"},
    {"End", "a|bcd", "{End}", "abcd|"},
    {"EditorTopBottom", "ab\nc|d\nef", "{Bottom}", "ab\ncd\nef|"},
    {"WordRight", "|abc, def", "{WordRight}", "abc, |def"},
    {"WordRightAtEndGoesToNextWord", "abc|\n  def", "{WordRight}", "abc\n  |def"},
    {"WordRightNoWordAfter", "ab|c ..", "{WordRight}", "abc ..|"},
    {"WordLeft", "abc def|", "{WordLeft}", "abc |def"},
    {"WordLeftAtColumn1", "abc\n|def", "{WordLeft}", "abc|\ndef"},
    {"SelectRight", "a|bc", "{S-Right}{S-Right}", "a[bc|]"},
    {"SelectLeftThenRight", "ab|c", "{S-Left}{S-Left}", "[|ab]c"},
    {"SelectDown", "a|b\ncd", "{S-Down}", "a[b\nc|]d"},
    {"MoveDropsSelection", "a[bc|]d", "{Left}", "ab|cd"},
    {"SelectAll", "ab\nc|d", "{SelectAll}", "[ab\ncd|]"},
    {"MatchBracketForward", "|(a(b)c)", "{Match}", "(a(b)c|)"},
    {"MatchBracketBackward", "(a\n(b)c|)", "{Match}", "|(a\n(b)c)"},
    {"MatchBracketNoBracket", "a|b(c)", "{Match}", "a|b(c)"},
    {"MatchBracketUnmatched", "|(ab", "{Match}", "|(ab"},
};
INSTANTIATE_TEST_SUITE_P(Movement, Commands, ::testing::ValuesIn(movement));

const Case blocks[] = {
    {"IndentTwoLines", "[ab\ncd|]", "{Indent}", "        [ab\n        cd|]"},
    {"IndentSkipsLastLineAtColumn1", "[ab\n|]cd", "{Indent}", "        [ab\n|]cd"},
    {"UnindentSpacesAndTab", "[  \tab\n\tcd\n          ef|]", "{Unindent}", "[ab\ncd\n  ef|]"},
    {"UndoIndent", "[ab\ncd|]", "{Indent}{Undo}", "[ab\ncd|]"},
    {"IndentColumnBlockAtItsLeftColumn", "a[bc\nde|]f", "{ColumnMode}{Indent}", "a        [bc\nd        e|]f"},
    {"UndoRedoColumnIndent", "a[bc\nde|]f", "{ColumnMode}{Indent}{Undo}{Redo}", "a        [bc\nd        e|]f"},
    {"UndoColumnIndent", "a[bc\nde|]f", "{ColumnMode}{Indent}{Undo}", "a[bc\nde|]f"},
    {"UndoRedoIndent", "[ab\ncd|]", "{Indent}{Undo}{Redo}", "        [ab\n        cd|]"},
    {"UndoUnindent", "[    ab\n\tcd|]", "{Unindent}{Undo}", "[    ab\n\tcd|]"},
    {"UndoRedoUnindent", "[    ab\n\tcd|]", "{Unindent}{Undo}{Redo}", "[ab\ncd|]"},
};
INSTANTIATE_TEST_SUITE_P(BlockIndent, Commands, ::testing::ValuesIn(blocks));

// Every change undone in one step restores the text and caret; redo brings it back.
const Case undoRedo[] = {
    {"UndoTyping", "ab|", "xyz{Undo}", "ab|"},
    {"RedoTyping", "ab|", "xyz{Undo}{Redo}", "abxyz|"},
    {"UndoArrowSeparatesWords", "|", "one{Left}{Right}two{Undo}", "one|"},
    {"UndoGapFill", "~~~|", "x{Undo}", "|"},
    {"UndoEnter", "    abc|def", "{Enter}{Undo}", "    abc|def"},
    {"RedoEnter", "    abc|def", "{Enter}{Undo}{Redo}", "    abc\n    |def"},
    {"UndoEnterTrimmed", "ab  |cd", "{Enter}{Undo}", "ab  |cd"},
    // Redoing the trimming of blanks leaves the caret where the edit put it.
    {"RedoEnterTrimmed", "ab  |cd", "{Enter}{Undo}{Redo}", "ab\n|cd"},
    {"RedoTabOverSelectionTrimmed", "abc|", "{S-Home}{Tab}{Undo}{Redo}", "~~~~~~~~|"},
    {"UndoBackspaceJoin", "ab\n|cd", "{BS}{Undo}", "ab\n|cd"},
    // The caret goes to the end of the restored text, as for every caret deletion.
    {"UndoBackspaceUnindent", "  a\n    |b", "{BS}{Undo}", "  a\n  |  b"},
    {"UndoDeleteFillJoin", "ab~~|\ncd", "{Del}{Undo}", "ab|\ncd"},
    {"UndoDeleteSelectionReselects", "a[bc|]d", "{Del}{Undo}", "a[bc|]d"},
    {"UndoDeleteBackwardSelection", "a[|bc]d", "{Del}{Undo}", "a[|bc]d"},
    {"UndoOverwrite", "ab|cd", "{Ins}XY{Undo}", "ab|cd"},
    {"RedoOverwrite", "ab|cd", "{Ins}XY{Undo}{Redo}", "abXY|"},
    {"UndoTab", "if  (\n|x", "{Tab}{Undo}", "if  (\n|x"},
    // A forward deletion comes back selected, caret at its start.
    {"UndoShiftTab", "          |x", "{STab}{Undo}", "        [|  ]x"},
    {"UndoDeleteLineLast", "a\nb|b", "{DelLine}{Undo}", "a|\nbb"},
    {"RedoDeleteLineLast", "a\nb|b", "{DelLine}{Undo}{Redo}", "a|"},
    {"UndoDeleteWordJoin", "ab|\n   cd", "{DelWord}{Undo}", "ab|\n   cd"},
    {"UndoTypeOverSelection", "a[bc|]d", "X{Undo}", "a[bc|]d"},
    {"UndoEmptyListDoesNothing", "a|b", "{Undo}", "a|b"},
};
INSTANTIATE_TEST_SUITE_P(UndoRedo, Commands, ::testing::ValuesIn(undoRedo));

}  // namespace
