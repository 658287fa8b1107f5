// Selection text in the three modes, offsets, the clipboard and drag and drop.
#include <gtest/gtest.h>

#include "EditorTestUtil.h"

using namespace pelm;
using namespace editortest;

namespace {

struct ReadCase {
    const char* marked;
    TSelectionMode mode;
    const char* text;
};

TEST(SelectedText, ReadInEachMode) {
    const ReadCase cases[] = {
        {"a[bc|]d", smNormal, "bc"},
        {"a[b\ncd\ne|]f", smNormal, "b\r\ncd\r\ne"},
        {"a[b\ncd|]\nef", smLine, "ab\r\ncd\r\n"},
        {"ab\nc[d|]", smLine, "cd"},  // no break after the buffer's last line
        {"a[bcd\nefg|]h", smColumn, "bc\r\nfg"},
        {"abcd\n[ef\nghi|]j", smColumn, "ef\r\nghi"},
        // Through tab expansion: a tab only partly inside the block is left out.
        {"ab[cdef\n\txy|]", smColumn, "cdef\r\nxy"},
        {"a[bc\nx\nabc|]d", smColumn, "bc\r\n\r\nbc"},
    };
    for (const auto& c : cases) {
        TCustomCodeEdit e;
        e.SetTabWidth(4);
        Load(e, c.marked);
        e.SetSelectionMode(c.mode);
        EXPECT_EQ(e.SelectedText(), c.text) << c.marked << " mode " << int(c.mode);
    }
}

TEST(SelectedText, ColumnBlockOneColumnWideIsNoSelection) {
    TCustomCodeEdit e;
    Load(e, "a[b\nc|]d");
    e.SetSelectionMode(smColumn);
    e.SetSelection({2, 1}, {2, 2});
    EXPECT_FALSE(e.HasSelection());
    e.ClipboardCopy();
    EXPECT_FALSE(e.Clipboard().Text().has_value());
}

struct WriteCase {
    const char* name;
    const char* before;
    TSelectionMode mode;
    const char* text;
    const char* after;
};

class SelectedTextWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(SelectedTextWrite, ReplacesAndUndoesInOneStep) {
    const WriteCase& c = GetParam();
    TCustomCodeEdit e;
    Load(e, c.before);
    e.SetSelectionMode(c.mode);
    std::string original = e.Lines().Text();
    e.SetSelectedText(c.text);
    EXPECT_EQ(Show(e), c.after);
    std::string changed = e.Lines().Text();
    e.Undo();
    EXPECT_EQ(e.Lines().Text(), original);
    e.Redo();
    EXPECT_EQ(e.Lines().Text(), changed);
}

const WriteCase writes[] = {
    {"NormalOneLine", "a[bc|]d", smNormal, "XY", "aXY|d"},
    {"NormalMultiRow", "a[b|]c", smNormal, "1\r\n2\n3", "a1\n2\n3|c"},
    {"NormalAtColumn1", "|abc", smNormal, "x\r\ny", "x\ny|abc"},
    {"NormalInVirtualSpace", "ab~~|", smNormal, "x", "ab  x|"},
    {"NormalTrimsWrittenLines", "ab|", smNormal, "x  \r\ny", "abx\ny|"},
    {"NormalAcrossLines", "a[b\ncd\ne|]f", smNormal, "-", "a-|f"},
    {"LineTwoLinesBeforeC", "ab\n|c", smLine, "x\r\ny\r\n", "ab\nx\ny\n|c"},
    {"LineDeletesWholeLines", "a\nb[b\nc|]c\nd", smLine, "", "a\n|d"},
    {"LineDeleteAtEndKeepsEmptyLine", "a\nb[b\nc|]c", smLine, "", "a\n|"},
    {"LineReplace", "a\n[b|]\nc", smLine, "X\r\n", "a\nX\n|c"},
    {"ColumnInsertRows", "ab|cd\nef\ng", smColumn, "1\r\n2\r\n3", "ab1cd\nef2\ng 3|"},
    {"ColumnInsertPastEnd", "a|b", smColumn, "1\r\n2", "a1b\n 2|"},
    // The caret goes to the left column on the line of the active end.
    {"ColumnReplaceBlock", "a[bcd\nefg|]h", smColumn, "", "ad\ne|h"},
};
INSTANTIATE_TEST_SUITE_P(Modes, SelectedTextWrite, ::testing::ValuesIn(writes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SelOffset, CountsLineBreaksAsTwo) {
    TCustomCodeEdit e;
    Load(e, "ab\nc|");
    e.SetCaretPos({2, 2});
    EXPECT_EQ(e.SelOffset(), 5);
    struct { int offset; TBufferCoord pos; } cases[] = {
        {0, {1, 1}}, {2, {3, 1}}, {3, {4, 1}}, {4, {1, 2}}, {5, {2, 2}}, {6, {1, 2}}, {99, {1, 2}},
    };
    for (auto& c : cases) {
        e.SetSelOffset(c.offset);
        EXPECT_EQ(e.CaretPos(), c.pos) << c.offset;
        EXPECT_FALSE(e.HasSelection());
    }
}

TEST(SelOffset, IgnoresLineBreakFormat) {
    // The buffer keeps no break bytes: a file with LF ends counts the same.
    TCustomCodeEdit e;
    e.Lines().SetText("ab\nc");
    e.SetCaretPos({2, 2});
    EXPECT_EQ(e.SelOffset(), 5);
}

TEST(SelectChars, ForwardAndBackward) {
    TCustomCodeEdit e;
    Load(e, "a|b\nc");
    e.SelectChars(4);
    EXPECT_EQ(e.SelectedText(), "b\r\nc");
    EXPECT_EQ(e.CaretPos(), (TBufferCoord{2, 2}));
    Load(e, "ab\nc|");
    e.SelectChars(-3);
    EXPECT_EQ(Show(e), "ab[|\nc]");
    Load(e, "a|b");
    e.SelectChars(-5);  // before the start of the text: to the end instead
    EXPECT_EQ(Show(e), "a[b|]");
    Load(e, "ab\n|c");
    e.SelectChars(2);   // past the end of the text: to the end of the last line
    EXPECT_EQ(Show(e), "ab\n[c|]");
}

TEST(Clipboard, ColumnCopyPastesAsColumnsInNormalMode) {
    TCustomCodeEdit e;
    Load(e, "a[bc\nd\nefg|]h\nxy\nzw\nuv");
    e.SetSelectionMode(smColumn);
    e.ClipboardCopy();
    EXPECT_EQ(*e.Clipboard().Text(), "bc\r\n  \r\nfg");  // short line padded to the block width
    std::string block = *e.Clipboard().BlockData();
    EXPECT_EQ(block[0], char(smColumn));
    EXPECT_EQ(block.back(), '\0');
    e.SetSelectionMode(smNormal);
    e.SetCaretPos({2, 4});
    e.ClipboardPaste();
    EXPECT_EQ(Show(e), "abc\nd\nefgh\nxbcy\nz  w\nufg|v");
    e.Undo();
    EXPECT_EQ(e.Lines().Text(), "abc\r\nd\r\nefgh\r\nxy\r\nzw\r\nuv");
}

TEST(Clipboard, PlainTextInLineModeInsertsWholeLines) {
    TCustomCodeEdit e;
    TMemoryClipboard clip;
    e.SetClipboard(&clip);
    clip.SetText("new\r\n");
    Load(e, "ab\nc|d");
    e.SetSelectionMode(smLine);
    e.ClipboardPaste();
    EXPECT_EQ(Show(e), "ab\nnew\n|cd");
}

TEST(Clipboard, CutIsOneStepAndPasteOfThreeLinesUndoesInOne) {
    TCustomCodeEdit e;
    Load(e, "[l1\nl2\nl3|]\nrest");
    e.ClipboardCut();
    EXPECT_EQ(Show(e), "|\nrest");
    EXPECT_EQ(e.UndoList().ItemCount(), 1);
    e.ClipboardPaste();
    e.ClipboardPaste();
    EXPECT_EQ(e.Lines().Text(), "l1\r\nl2\r\nl3l1\r\nl2\r\nl3\r\nrest");
    e.Undo();
    EXPECT_EQ(e.Lines().Text(), "l1\r\nl2\r\nl3\r\nrest");
    e.Undo();
    e.Redo();
    EXPECT_EQ(e.Lines().Text(), "l1\r\nl2\r\nl3\r\nrest");
    e.Undo();
    e.Undo();
    EXPECT_EQ(Show(e), "[l1\nl2\nl3|]\nrest");
}

TEST(Clipboard, FailuresRaiseTheirMessages) {
    TCustomCodeEdit e;
    TMemoryClipboard clip;
    e.SetClipboard(&clip);
    Load(e, "[ab|]");
    clip.failNextSet = true;
    try {
        e.ClipboardCopy();
        FAIL();
    } catch (const ECodeEditError& x) {
        EXPECT_STREQ(x.what(), "Clipboard copy operation failed");
    }
    clip.SetContent("", nullptr);
    std::string broken;  // block data without a mode byte
    clip.SetContent("x", &broken);
    try {
        e.ClipboardPaste();
        FAIL();
    } catch (const ECodeEditError& x) {
        EXPECT_STREQ(x.what(), "Clipboard paste operation failed.");
    }
    EXPECT_EQ(e.Lines().Text(), "ab");
}

TEST(ReadOnly, RefusesChangingCommandsSilently) {
    TCustomCodeEdit e;
    Load(e, "a[b|]c");
    e.ClipboardCopy();
    e.SetReadOnly(true);
    Keys(e, "x{BS}{Del}{Enter}{Tab}{Cut}{Paste}{DelLine}");
    EXPECT_EQ(Show(e), "a[b|]c");
    Keys(e, "{Right}");
    EXPECT_EQ(Show(e), "abc|");  // movement still works
}

TEST(Mouse, ClickShiftClickAndWord) {
    TCustomCodeEdit e;
    Load(e, "abc def|");
    e.MouseDown({10, 1}, 0);
    EXPECT_EQ(Show(e), "abc def~~|");
    e.MouseDown({2, 1}, ssShift);
    EXPECT_EQ(Show(e), "a[|bc def]");  // the selection end is cut at the line end
    e.SelectWordAt({6, 1});
    EXPECT_EQ(Show(e), "abc [def|]");
}

struct DropCase {
    const char* name;
    const char* before;
    TBufferCoord drop;
    bool copy;
    const char* after;
};

class Drop : public ::testing::TestWithParam<DropCase> {};

TEST_P(Drop, MovesOrCopies) {
    const DropCase& c = GetParam();
    TCustomCodeEdit e;
    Load(e, c.before);
    std::string original = e.Lines().Text();
    bool done = e.DropSelection(c.drop, c.copy);
    EXPECT_EQ(Show(e), c.after);
    if (done) {
        e.Undo();
        EXPECT_EQ(e.Lines().Text(), original);
    }
}

const DropCase drops[] = {
    {"MoveRightSameLine", "a[bc|]def", {6, 1}, false, "ade[|bc]f"},
    {"MoveLeft", "abc[de|]f", {1, 1}, false, "[|de]abcf"},
    {"MoveToLaterLine", "a[b\nc|]d\nxy", {2, 3}, false, "ad\nx[|b\nc]y"},
    {"MoveOntoOwnEndDoesNothing", "a[bc|]d", {4, 1}, false, "a[bc|]d"},
    {"CopyOntoOwnEnd", "a[bc|]d", {4, 1}, true, "abc[|bc]d"},
    {"CopyInsideDoesNothing", "a[bc|]d", {3, 1}, true, "a[bc|]d"},
};
INSTANTIATE_TEST_SUITE_P(DragDrop, Drop, ::testing::ValuesIn(drops),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
