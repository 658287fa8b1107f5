// Autocorrect attached to an editor: words finished by a key, the line
// corrected on mouse-down, and the matching and case rules.
#include <gtest/gtest.h>

#include "core/authoring/TCodeAutoCorrect.h"
#include "core/platform/Cp1251.h"
#include "unit/editor/EditorTestUtil.h"

using namespace pelm;
using editortest::Apply;
using editortest::Keys;
using editortest::Load;
using editortest::Show;

namespace {

std::string W(const char* utf8) { return cp1251::FromUtf8(utf8); }

struct AutoCorrectFixture {
    TCustomCodeEdit editor;
    TCodeAutoCorrect ac;
    explicit AutoCorrectFixture(std::vector<std::string> items) {
        ac.ItemSepChar = '=';
        ac.Options = ascoCorrectOnMouseDown | ascoIgnoreCase | ascoMaintainCase;
        ac.Items = std::move(items);
        ac.SetEditor(&editor);
    }
};

struct TypingCase {
    const char* name;
    std::vector<std::string> items;
    std::string start;
    std::string keys;
    std::string expected;
};

}  // namespace

TEST(AutoCorrect, TypingFinishesAWord) {
    const std::vector<std::string> teh = {"teh=the"};
    const TypingCase cases[] = {
        {"first capital, blank", teh, "|", "Teh ", "The |"},
        {"upper case, Enter", teh, "|", "TEH{Enter}", "THE\n|"},
        {"full stop", teh, "|", "teh.", "the.|"},
        {"letter after the word", teh, "|", "tehx ", "tehx |"},
        {"punctuation before the word", teh, "|", "(teh ", "(teh |"},
        {"mixed case left as stored", teh, "|", "tEh ", "the |"},
        {"word in the middle of a line", teh, "a | b", "teh ", "a the | b"},
        {"caret after a blank: empty token", teh, "teh |", " ", "teh  |"},
        {"separator inside the wrong word", {"x=y=z"}, "|", "x=y ", "z |"},
        {"first applicable pair wins", {"abc=one", "teh=two", "teh=three"}, "|", "teh ", "two |"},
        // (the editor trims the blank it then types on an empty line)
        {"item without separator corrects to nothing", {"teh"}, "|", "teh ", "~|"},
        {"empty wrong word matches nothing", {"=x"}, "|", "a ", "a |"},
        {"Cyrillic upper case", {W("прывет=привет")}, "|", W("ПРЫВЕТ "), W("ПРИВЕТ |")},
        {"Cyrillic lower case", {W("прывет=привет")}, "|", W("прывет "), W("привет |")},
        // The first-capital form changes only Latin letters, so a Russian
        // correction passes that test unchanged.
        {"Cyrillic first capital", {W("прывет=привет")}, "|", W("Прывет "), W("привет |")},
        {"Cyrillic letters are word characters", {W("прывет=привет")}, "|", W("прыветы "), W("прыветы |")},
        // A line-mode selection must not widen the replacement to the line.
        {"line selection mode", teh, "x |", "{LineMode}teh ", "x the |"},
    };
    for (const TypingCase& c : cases) {
        AutoCorrectFixture f(c.items);
        EXPECT_EQ(Apply(f.editor, c.start, c.keys), c.expected) << c.name;
    }
}

TEST(AutoCorrect, TabFinishesAWord) {
    AutoCorrectFixture f({"teh=the"});
    Apply(f.editor, "|", "teh{Tab}");
    EXPECT_EQ(f.editor.Lines().Strings(0).substr(0, 3), "the");
}

TEST(AutoCorrect, DisabledCorrectsNeitherByKeysNorByMouse) {
    AutoCorrectFixture f({"teh=the"});
    f.ac.Enabled = false;
    EXPECT_EQ(Apply(f.editor, "|", "teh {Enter}"), "teh \n|");
    f.editor.MouseDown({1, 2}, 0);
    EXPECT_EQ(f.editor.Lines().Strings(0), "teh ");
}

TEST(AutoCorrect, ReadOnlyEditorIsNotChanged) {
    AutoCorrectFixture f({"teh=the"});
    Load(f.editor, "teh|");
    f.editor.SetReadOnly(true);
    Keys(f.editor, " ");
    f.ac.MouseDown();
    EXPECT_EQ(f.editor.Lines().Strings(0), "teh");
}

TEST(AutoCorrect, DetachingRemovesTheHooks) {
    AutoCorrectFixture f({"teh=the"});
    f.ac.SetEditor(nullptr);
    EXPECT_EQ(Apply(f.editor, "|", "teh "), "teh |");
    {
        TCodeAutoCorrect other;
        other.ItemSepChar = '=';
        other.Items = {"teh=the"};
        other.SetEditor(&f.editor);
    }  // destroyed: its hooks go with it
    EXPECT_EQ(Apply(f.editor, "|", "teh "), "teh |");
}

// The line the caret was on is corrected when the mouse goes down: every whole
// word, as one undoable step, and the caret stays where it was.
TEST(AutoCorrect, MouseDownCorrectsThePreviousLineAsOneUndoableStep) {
    AutoCorrectFixture f({"teh=thee"});
    Load(f.editor, "Teh a teh (teh) teh|\nsecond");
    Keys(f.editor, "{End}");
    EXPECT_EQ(f.ac.PreviousLine(), 1);
    f.ac.MouseDown();
    EXPECT_EQ(Show(f.editor), "Thee a thee (teh) t|hee\nsecond");
    EXPECT_TRUE(f.editor.Modified());

    f.editor.MouseDown({3, 2}, 0);  // the editor's own handling follows
    EXPECT_EQ(Show(f.editor), "Thee a thee (teh) thee\nse|cond");
    f.editor.Undo();
    EXPECT_EQ(f.editor.Lines().Text(), "Teh a teh (teh) teh\r\nsecond");
    f.editor.Redo();
    EXPECT_EQ(f.editor.Lines().Strings(0), "Thee a thee (teh) thee");
}

TEST(AutoCorrect, MouseDownKeepsTheSelection) {
    AutoCorrectFixture f({"teh=the"});
    Load(f.editor, "teh x teh\nsecond");
    Keys(f.editor, "{S-End}");
    const std::string before = Show(f.editor);
    f.ac.MouseDown();
    EXPECT_EQ(f.editor.Lines().Strings(0), "the x the");
    EXPECT_EQ(Show(f.editor), "[the x the|]\nsecond");
    EXPECT_EQ(before, "[teh x teh|]\nsecond");
}

TEST(AutoCorrect, MouseDownPassEndsWhenTheCorrectionHoldsTheWord) {
    AutoCorrectFixture f({"ab=ab ab"});
    Load(f.editor, "ab cd ab");
    Keys(f.editor, "{Right}");
    f.ac.MouseDown();
    EXPECT_EQ(f.editor.Lines().Strings(0), "ab ab cd ab ab");
}

TEST(AutoCorrect, MouseDownDoesNothingWithoutAPreviousLine) {
    AutoCorrectFixture f({"teh=the"});
    Load(f.editor, "teh");
    f.ac.MouseDown();  // no command yet
    EXPECT_EQ(f.editor.Lines().Strings(0), "teh");
    Load(f.editor, "a\nb\nteh");
    Keys(f.editor, "{Bottom}");
    EXPECT_EQ(f.ac.PreviousLine(), 1);
    Keys(f.editor, "{Right}");
    EXPECT_EQ(f.ac.PreviousLine(), 3);
    f.editor.Lines().Delete(2);  // the line goes without a command
    f.ac.MouseDown();
    EXPECT_EQ(f.editor.Lines().Text(), "a\r\nb");
    f.ac.Options = ascoIgnoreCase;  // no mouse-down correction
    Load(f.editor, "teh");
    Keys(f.editor, "{Right}");
    f.ac.MouseDown();
    EXPECT_EQ(f.editor.Lines().Strings(0), "teh");
}

TEST(AutoCorrect, OnAutoCorrectMayCancel) {
    AutoCorrectFixture f({"teh=the"});
    int asked = 0, corrected = 0;
    f.ac.OnAutoCorrect = [&](const std::string& wrong, const std::string& correction, int line, int column,
                             bool& cancel) {
        ++asked;
        EXPECT_EQ(wrong, "teh");
        EXPECT_EQ(correction, "the");
        EXPECT_EQ(line, 1);
        EXPECT_EQ(column, 3);
        cancel = true;
    };
    f.ac.OnCorrected = [&] { ++corrected; };
    EXPECT_EQ(Apply(f.editor, "a |", "teh "), "a teh |");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(corrected, 0);
}

TEST(AutoCorrect, WholeWordMatching) {
    TCodeAutoCorrect ac;
    struct Case {
        const char* text;
        const char* word;
        size_t from;
        int expected;
    } cases[] = {
        {"teh", "teh", 0, 0},         {"a teh", "TEH", 0, 2},    {"tehx teh", "teh", 0, 5},
        {"xteh teh", "teh", 0, 5},    {"teh.", "teh", 0, -1},    {"\tteh\x01", "teh", 0, 1},
        {"teh teh", "teh", 1, 4},     {"", "teh", 0, -1},        {"te", "teh", 0, -1},
        {"a b", "", 0, -1},           {"x=y b", "x=y", 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ac.FindWholeWord(c.text, c.word, c.from), c.expected) << c.text;
    ac.Options = 0;  // exact comparison
    EXPECT_EQ(ac.FindWholeWord("TEH teh", "teh", 0), 4);
}

TEST(AutoCorrect, CaseRule) {
    TCodeAutoCorrect ac;
    struct Case {
        std::string matched, correction, expected;
    } cases[] = {
        {"TEH", "the", "THE"},          {"teh", "The", "the"},      {"Teh", "tHE", "The"},
        {"tEh", "tHe", "tHe"},          {"123", "abc", "ABC"},
        {W("ПрЫвЕт"), W("привет"), W("привет")},  // no Latin letter: passes test 3 unchanged
        {"Teh", W("тест"), W("тест")},
    };
    for (const Case& c : cases) EXPECT_EQ(ac.AdaptCase(c.matched, c.correction), c.expected) << c.matched;
    ac.Options = ascoIgnoreCase;
    EXPECT_EQ(ac.AdaptCase("TEH", "the"), "the");
}

TEST(AutoCorrect, ItemsSplitAtTheLastSeparator) {
    TCodeAutoCorrect ac;
    ac.ItemSepChar = '=';
    std::string wrong, correction;
    ac.SplitItem("x=y=z", wrong, correction);
    EXPECT_EQ(wrong, "x=y");
    EXPECT_EQ(correction, "z");
    ac.SplitItem("plain", wrong, correction);
    EXPECT_EQ(wrong, "plain");
    EXPECT_EQ(correction, "");
    TCodeAutoCorrect tabbed;  // the default separator is Tab
    tabbed.SplitItem("a=b\tc", wrong, correction);
    EXPECT_EQ(wrong, "a=b");
    EXPECT_EQ(correction, "c");
    EXPECT_TRUE(tabbed.IsWordChar('a'));
    EXPECT_TRUE(tabbed.IsWordChar(static_cast<unsigned char>(W("я")[0])));
    EXPECT_FALSE(tabbed.IsWordChar('.'));
    EXPECT_FALSE(tabbed.IsWordChar(' '));
}
