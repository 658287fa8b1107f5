// Random command sequences: undoing everything must give back the original text
// exactly, and redoing everything the edited text; with word wrap on, the map
// kept up by the buffer hooks must equal one built afresh after every step.
#include <gtest/gtest.h>

#include <random>

#include "EditorTestUtil.h"

using namespace pelm;
using namespace editortest;

namespace {

constexpr int Runs = 300;
constexpr unsigned Seed = 12345;

const TCodeEditorCommand commands[] = {
    ecChar, ecChar, ecChar, ecChar, ecLineBreak, ecInsertLine, ecTab, ecShiftTab, ecDeleteLastChar,
    ecDeleteChar, ecDeleteWord, ecDeleteLastWord, ecDeleteBOL, ecDeleteEOL, ecDeleteLine,
    ecBlockIndent, ecBlockUnindent, ecCut, ecCopy, ecPaste, ecToggleMode,
    ecLeft, ecRight, ecUp, ecDown, ecLineEnd, ecLineStart, ecSelLeft, ecSelRight, ecSelUp, ecSelDown,
    ecSelWordRight, ecNormalSelect, ecColumnSelect, ecLineSelect, ecUndo, ecRedo,
    ecSelectAll, ecWordLeft, ecSelLineEnd, ecEditorBottom, ecMatchBracket, ecSelPageUp,
};

TEST(UndoReplay, RandomSequencesRoundTrip) {
    std::mt19937 rng(Seed);
    const char* texts[] = {"    abc def\n  x\n\nif  (a)\n  {\n    b;\n  }", "one\ntwo  three\n\n\n  four",
                           "a\tb\n\tc d\ne"};
    const char typed[] = "ab  (){}x.";
    for (int run = 0; run < Runs; ++run) {
        TCustomCodeEdit e;
        e.SetTabWidth(4);
        if (run % 2) {
            // A narrow window with word wrap: the moves go by rows.
            e.SetClientSize(e.GutterSpan() + 2 + 6 * e.CellPixelWidth(), 5 * e.RowPixelHeight());
            e.SetWordWrap(true);
        }
        Load(e, texts[run % 3]);
        e.SetCaretPos({static_cast<int>(rng() % 8) + 1, static_cast<int>(rng() % 5) + 1});
        std::string original = e.Lines().Text();
        std::string trace = "caret " + std::to_string(e.CaretPos().Column) + "," + std::to_string(e.CaretPos().Line) + ": ";
        for (int step = 0; step < 25; ++step) {
            TCodeEditorCommand c = commands[rng() % std::size(commands)];
            char ch = typed[rng() % (sizeof typed - 1)];
            trace += std::to_string(c) + (c == ecChar ? std::string("'") + ch + "' " : " ");
            e.PerformCommand(c, ch);
            if (const TCodeEditWordWrap* m = e.WrapMap()) {
                // The map kept up by the hooks equals one built afresh.
                TCodeEditWordWrap fresh(e.Lines());
                TCodeEditWordWrap::BreakSet blanks{};
                for (int k = 0; k <= 32; ++k) blanks[k] = true;
                fresh.Rebuild(e.VisibleColumns(), blanks);
                ASSERT_EQ(m->RowCount(), fresh.RowCount()) << "run " << run << ": " << trace;
                for (int r = 1; r <= fresh.RowCount(); ++r)
                    ASSERT_EQ(m->RowLength(r), fresh.RowLength(r)) << "run " << run << ": " << trace;
            }
        }
        // The furthest state: the random undos may have left steps to redo.
        while (e.RedoAvailable()) e.Redo();
        std::string edited = e.Lines().Text();
        while (e.UndoAvailable()) e.Undo();
        ASSERT_EQ(e.Lines().Text(), original) << "run " << run << ": " << trace;
        while (e.RedoAvailable()) e.Redo();
        ASSERT_EQ(e.Lines().Text(), edited) << "run " << run << ": " << trace;
    }
}

}  // namespace
