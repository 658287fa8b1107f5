// Undo and redo: grouping, the limit, the saved state and the notifications.
#include <gtest/gtest.h>

#include "EditorTestUtil.h"

using namespace pelm;
using namespace editortest;

namespace {

TEST(UndoGrouping, ArrowKeySeparatesMouseClickDoesNot) {
    TCustomCodeEdit e;
    Apply(e, "|", "one {Left}{Right}two");
    e.Undo();
    EXPECT_EQ(Show(e), "one |");
    e.Undo();
    EXPECT_EQ(Show(e), "|");

    Load(e, "|");
    Keys(e, "one ");
    e.MouseDown({5, 1}, 0);
    Keys(e, "two");
    e.Undo();
    EXPECT_EQ(Show(e), "|");
}

TEST(UndoGrouping, RedoRestoresEachStepAndANewEditClearsRedo) {
    TCustomCodeEdit e;
    Apply(e, "|", "ab{Left}{Right}cd");
    e.Undo();
    e.Undo();
    e.Redo();
    EXPECT_EQ(Show(e), "ab|");
    e.Redo();
    EXPECT_EQ(Show(e), "abcd|");
    e.Undo();
    EXPECT_TRUE(e.RedoAvailable());
    Keys(e, "{Left}");  // a group break keeps the redo list
    EXPECT_TRUE(e.RedoAvailable());
    Keys(e, "x");
    EXPECT_FALSE(e.RedoAvailable());
}

TEST(UndoLimit, ThousandAndTwentyFiveEditsTruncate) {
    TCustomCodeEdit e;
    Load(e, "|");
    for (int i = 0; i < 1025; ++i) Keys(e, "x{Left}{Right}");
    EXPECT_TRUE(e.UndoList().Truncated());
    EXPECT_LE(e.UndoList().ItemCount(), 1024);
    while (e.UndoAvailable()) e.Undo();
    // The oldest edits are gone: the text cannot go back to empty.
    EXPECT_FALSE(e.Lines().Text().empty());
    EXPECT_LT(e.Lines().Text().size(), 1025u);
}

// A replace-all of 10,000 matches is one group of 20,000 records: it must undo
// in one step completely, and later edits may drop it only as a whole.
TEST(UndoLimit, NeverDropsPartOfAGroup) {
    TCustomCodeEdit e;
    std::vector<std::string> lines(10000, "foo bar");
    e.Lines().AppendLines(lines);
    e.SetModified(false);
    std::string original = e.Lines().Text();
    {
        UndoBlockGuard block(e.UndoList());
        for (int l = 1; l <= 10000; ++l) {
            e.SetSelection({5, l}, {8, l});
            e.SetSelectedText("bazz");
        }
    }
    EXPECT_GT(e.UndoList().ItemCount(), e.MaxUndo());
    std::string replaced = e.Lines().Text();
    e.Undo();
    EXPECT_TRUE(e.Lines().Text() == original);
    e.Redo();
    EXPECT_TRUE(e.Lines().Text() == replaced);

    // Later steps push the group out whole, never a part of it.
    for (int i = 0; i < 1100; ++i) Keys(e, "{Top}x");
    EXPECT_TRUE(e.UndoList().Truncated());
    while (e.UndoAvailable()) e.Undo();
    // The oldest typing is kept (it was dropped from the list with the group),
    // and no line of the replacement came undone.
    int replacedLines = 0;
    for (int i = 0; i < e.Lines().Count(); ++i) replacedLines += e.Lines().Line(i).ends_with("foo bazz");
    EXPECT_EQ(replacedLines, 10000);
}

TEST(UndoLimit, OpenBlockIsNeverTruncated) {
    TCodeEditUndoList l;
    l.SetMaxUndo(3);
    l.RecordChange(ckInsert, {}, {}, "", smNormal);
    l.PushGroupBreak();
    l.OpenBlock();
    for (int i = 0; i < 10; ++i) l.RecordChange(ckDelete, {}, {}, "", smNormal);
    EXPECT_EQ(l.ItemCount(), 10);  // the older steps went, the open block stays whole
    EXPECT_TRUE(l.Truncated());
    l.CloseBlock();
    l.RecordChange(ckInsert, {}, {}, "", smNormal);
    EXPECT_EQ(l.ItemCount(), 1);
}

TEST(UndoList, NumbersBlocksAndBreaks) {
    TCodeEditUndoList l;
    int added = 0;
    l.OnItemAdded = [&](TCodeEditUndoList&) { ++added; };
    l.RecordChange(ckInsert, {}, {}, "", smNormal);
    EXPECT_EQ(l.Peek()->GroupNumber, 1);
    l.OpenBlock();
    l.OpenBlock();
    l.RecordChange(ckDelete, {}, {}, "", smNormal);
    l.RecordChange(ckInsert, {}, {}, "", smNormal);
    l.CloseBlock();
    EXPECT_EQ(added, 3);
    l.CloseBlock();
    EXPECT_EQ(added, 4);  // closing raises it once more for the block
    EXPECT_EQ(l.Item(1).GroupNumber, 2);
    EXPECT_EQ(l.Item(2).GroupNumber, 2);
    l.PushGroupBreak();
    l.PushGroupBreak();
    EXPECT_EQ(l.ItemCount(), 4);
    EXPECT_EQ(l.LastKind(), ckGroupEnd);
    EXPECT_EQ(added, 4);  // breaks are not reported
    l.Lock();
    l.RecordChange(ckInsert, {}, {}, "", smNormal);
    EXPECT_EQ(l.ItemCount(), 4);
    l.Unlock();
    l.Unlock();
    l.RecordChange(ckInsert, {}, {}, "", smNormal);
    EXPECT_EQ(l.ItemCount(), 5);
}

TEST(UndoList, SavedState) {
    TCodeEditUndoList l;
    EXPECT_TRUE(l.IsSavedState());
    l.RecordChange(ckInsert, {}, {}, "", smNormal);
    EXPECT_FALSE(l.IsSavedState());
    l.SetSavedState(true);
    EXPECT_TRUE(l.IsSavedState());
    l.SetSavedState(false);
    EXPECT_EQ(l.SavedNumber(), -1);
    l.Clear();
    EXPECT_FALSE(l.IsSavedState());
}

TEST(Modified, UndoAfterSaveThenRedoClearsItAgain) {
    TCustomCodeEdit e;
    Apply(e, "|", "abc");
    EXPECT_TRUE(e.Modified());
    e.SetModified(false);  // a save
    EXPECT_EQ(e.UndoList().LastKind(), ckGroupEnd);
    e.Undo();
    EXPECT_TRUE(e.Modified());
    e.Redo();
    EXPECT_FALSE(e.Modified());
}

TEST(OnChange, OncePerRecordOrClosedBlock) {
    TCustomCodeEdit e;
    Load(e, "a[bc|]d");
    int changes = 0;
    e.OnChange = [&] { ++changes; };
    e.SetSelectedText("XY");  // deletion + insertion in one block
    EXPECT_EQ(changes, 1);
    Keys(e, "123");
    EXPECT_EQ(changes, 4);
    // Grouped by kind, the undo takes the three characters and the insertion of
    // XY before them: four records moved to the redo list.
    e.Undo();
    EXPECT_EQ(changes, 8);
}

TEST(SuspendUndo, RecordsNothingUntilResumed) {
    TCustomCodeEdit e;
    Load(e, "|");
    e.SuspendUndo();
    Keys(e, "ab");
    EXPECT_FALSE(e.UndoAvailable());
    e.ResumeUndo();
    Keys(e, "c");
    e.Undo();
    EXPECT_EQ(Show(e), "ab|");
}

TEST(DiscardUndo, LoadingAndClearAllEmptyBothLists) {
    TCustomCodeEdit e;
    Apply(e, "|", "ab{Undo}cd");
    EXPECT_TRUE(e.UndoAvailable());
    e.Lines().Clear();
    EXPECT_FALSE(e.UndoAvailable());
    Keys(e, "xy{Undo}");
    EXPECT_TRUE(e.RedoAvailable());
    e.PerformCommand(ecClearAll);
    EXPECT_FALSE(e.UndoAvailable());
    EXPECT_FALSE(e.RedoAvailable());
    EXPECT_FALSE(e.Modified());
    EXPECT_EQ(e.Lines().Count(), 0);
}

TEST(MaxUndo, NegativeIgnored) {
    TCustomCodeEdit e;
    e.SetMaxUndo(-5);
    EXPECT_EQ(e.MaxUndo(), 1024);
    e.SetMaxUndo(10);
    EXPECT_EQ(e.RedoList().MaxUndo(), 10);
}

}  // namespace
