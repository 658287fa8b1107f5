// Every edit is one transaction: whoever else listens to the buffer hears of it
// once, after the editor's own state (text, caret, undo) is final; a refused or
// failing edit holds nothing afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorTestUtil.h"
#include "core/editor/TCustomCodeEdit.h"

using namespace pelm;
using namespace editortest;

namespace {

// A second listener on the buffer, as the tag panel or the preview would be:
// it records what it sees when the buffer says a change is over.
struct Follower {
    explicit Follower(TCustomCodeEdit& e) : e_(e) {
        e.Lines().OnLinesChanging.Subscribe([this] { ++changing; });
        e.Lines().OnLinesChanged.Subscribe([this] { seen.push_back(Show(e_)); });
    }
    TCustomCodeEdit& e_;
    int changing = 0;
    std::vector<std::string> seen;
};

struct EditCase {
    const char* name;
    const char* before;
    const char* steps;
    const char* after;
};

class OneNoticePerEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(OneNoticePerEdit, ListenersSeeTheFinishedEdit) {
    const EditCase& c = GetParam();
    TCustomCodeEdit e;
    e.SetOptions(e.Options() | OptionBit(eoTrimTrailingSpaces));
    Load(e, c.before);
    e.Clipboard().SetContent("p\r\nq", nullptr);
    Follower f(e);
    Keys(e, c.steps);
    EXPECT_EQ(Show(e), c.after);
    EXPECT_EQ(f.changing, 1);
    ASSERT_EQ(f.seen.size(), 1u);
    EXPECT_EQ(f.seen[0], c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, OneNoticePerEdit,
    ::testing::Values(EditCase{"Char", "ab|", "x", "abx|"},
                      EditCase{"CharOverSelection", "a[bc|]d", "x", "ax|d"},
                      EditCase{"EnterTrimsTheLeftPart", "ab  |cd", "{Enter}", "ab\n|cd"},
                      EditCase{"BackspaceJoinsLines", "ab\n|cd", "{BS}", "ab|cd"},
                      EditCase{"DeleteInVirtualSpaceFillsAndJoins", "ab~~|\ncd", "{Del}", "ab  |cd"},
                      EditCase{"PasteOfTwoLines", "a|b", "{Paste}", "ap\nq|b"},
                      EditCase{"ColumnCut", "[ab\ncd|]\nef", "{ColumnMode}{Cut}", "\n|\nef"},
                      EditCase{"Tab", "|ab", "{Tab}", "        |ab"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EditTransaction, ARefusedEditHoldsNothing) {
    TCustomCodeEdit e;
    Load(e, "a[b|]c");
    e.ClipboardCopy();
    e.SetReadOnly(true);
    Follower f(e);
    Keys(e, "x{BS}{Del}{Enter}{Tab}{STab}{Cut}{Paste}{DelLine}{Undo}{Redo}");
    EXPECT_EQ(Show(e), "a[b|]c");
    EXPECT_EQ(f.changing, 0);
    EXPECT_EQ(e.PaintLock(), 0);
    EXPECT_EQ(e.Lines().UpdateCount(), 0);
    EXPECT_EQ(e.UndoList().BlockDepth(), 0);
    // The program's own edits are not the user's: they go through.
    e.SetSelectedText("B");
    EXPECT_EQ(Show(e), "aB|c");
}

TEST(EditTransaction, AFailingEditGivesEverythingBack) {
    TCustomCodeEdit e;
    Load(e, "ab|");
    std::string bad = "\x05";  // a block whose mode byte is out of range
    e.Clipboard().SetContent("x", &bad);
    EXPECT_THROW(e.ClipboardPaste(), ECodeEditError);
    EXPECT_EQ(e.PaintLock(), 0);
    EXPECT_EQ(e.Lines().UpdateCount(), 0);
    EXPECT_EQ(e.UndoList().BlockDepth(), 0);
    // Typing afterwards is a step of its own, which one undo takes back.
    Keys(e, "cd");
    EXPECT_EQ(Show(e), "abcd|");
    e.Undo();
    EXPECT_EQ(Show(e), "ab|");
}

}  // namespace
