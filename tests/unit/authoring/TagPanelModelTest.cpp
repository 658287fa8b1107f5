// The tag panel's logic: choosing tags, building and inserting them, the value
// commands' row, the character list and the default settings file.
#include <gtest/gtest.h>

#include "core/authoring/CharList.h"
#include "core/authoring/TTagPanelModel.h"
#include "core/authoring/TagLibrary.h"
#include "core/config/DefaultSettings.h"
#include "core/config/TIniFile.h"
#include "core/editor/TCustomCodeEdit.h"
#include "core/platform/Cp1251.h"
#include "core/platform/Errors.h"
#include "support/TempDir.h"
#include "unit/editor/EditorTestUtil.h"

namespace pelm::test {
namespace {

std::string W(std::string_view utf8) { return cp1251::FromUtf8(utf8); }

// A tag library in a temporary folder.
class TagPanelModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        Tag("A", "[Info]\r\nComment=Link\r\nCloseTag=yes\r\nDefault=0\r\nHelp=a.html\r\n"
                 "[Params]\r\nhref=\r\ntarget=\r\ntitle=\r\n");
        Tag("B", "[Info]\r\nComment=Bold\r\nHelp=b.html\r\n");
        Tag("BR", "[Info]\r\nComment=Break\r\nCloseTag=no\r\nHelp=br.html\r\n[Params]\r\nclass=\r\n");
        Tag("HR", "[Info]\r\nCloseTag=Yes\r\n");
        Tag("TD", "[Info]\r\nComment=Cell\r\nDefault=1\r\nHelp=td.html\r\n[Params]\r\nwidth=2\r\nalign=\r\n");
        Tag("TABLE", "[Info]\r\nComment=Table\r\nHelp=table.html\r\n[Params]\r\nborder=1\r\n");
        Tag("BIG", "[Info]\r\nComment=Big\r\nDefault=5\r\nHelp=big.html\r\n[Params]\r\nborder=1\r\n");
        Tag("BAD", "[Info]\r\nComment=Negative\r\nDefault=-1\r\n[Params]\r\nx=\r\n");
        Tag("NONUM", "[Info]\r\nDefault=abc\r\n[Params]\r\nx=\r\ny=\r\n");
        model.SetTagsFolder(dir.path + "/");
        model.SetEntries({">Text", "a", "b", "br", ">Tables", "table", "td", "hr", "", "missing", "bad", "big", "nonum",
                          ">Last"});
        model.ApplyCase(true);
    }
    void Tag(const std::string& name, const std::string& text) { WriteFile(dir.file(name + ".pel"), text); }
    int IndexOf(const std::string& entry) {
        const auto& e = model.Entries();
        return static_cast<int>(std::find(e.begin(), e.end(), entry) - e.begin());
    }
    std::string Insert(std::string_view marked) {
        editortest::Load(editor, marked);
        model.InsTag(editor);
        return editortest::Show(editor);
    }

    TempDir dir;
    TTagPanelModel model;
    TCustomCodeEdit editor;
};

TEST_F(TagPanelModelTest, ChoosingReadsTheDescription) {
    EXPECT_EQ(model.Entries()[0], ">TEXT");
    EXPECT_EQ(model.Chosen(), -1);
    ASSERT_EQ(model.Rows().size(), 1u);  // one empty row before the first choice
    EXPECT_FALSE(model.HelpItemShown());

    model.Choose(IndexOf("TD"));  // the list file is lower case, the entry upper
    EXPECT_EQ(model.ChosenName(), "TD");
    EXPECT_EQ(model.Description(), "Cell");
    EXPECT_EQ(model.CloseTag(), "yes");
    EXPECT_EQ(model.HelpTopic(), "td.html");
    EXPECT_EQ(model.StatusText(), "<TD>");
    EXPECT_EQ(model.CurrentRow(), 1);
    EXPECT_TRUE(model.HelpItemShown());
    ASSERT_EQ(model.Rows().size(), 2u);
    EXPECT_EQ(model.Rows()[0].Name, "width");
    EXPECT_EQ(model.Rows()[0].Value, "2");

    // No description file: every default, one empty row, a closing tag.
    model.Choose(IndexOf("MISSING"));
    EXPECT_EQ(model.Description(), W("(нет описания)"));
    EXPECT_EQ(model.CloseTag(), "yes");
    EXPECT_EQ(model.HelpTopic(), "");
    EXPECT_EQ(model.CurrentRow(), 0);
    ASSERT_EQ(model.Rows().size(), 1u);
    EXPECT_EQ(Insert("[x|]"), "<MISSING>x|</MISSING>");

    // A Default that is not a number reads as 0.
    model.Choose(IndexOf("NONUM"));
    EXPECT_EQ(model.CurrentRow(), 0);
}

TEST_F(TagPanelModelTest, HeadersPassTheChoiceOn) {
    model.Choose(0);
    EXPECT_EQ(model.ChosenName(), "A");
    // Up from the entry below a header lands on the header, which gives the
    // choice back to that same entry.
    model.Choose(IndexOf("TABLE") - 1);
    EXPECT_EQ(model.ChosenName(), "TABLE");
    // A header with nothing after it, an empty entry and an index outside the
    // list change nothing.
    for (int index : {IndexOf(">LAST"), IndexOf(""), -1, 99}) {
        model.Choose(index);
        EXPECT_EQ(model.ChosenName(), "TABLE") << index;
    }
}

TEST_F(TagPanelModelTest, SelectFindsNamesInAnyCase) {
    ASSERT_TRUE(model.Select("td"));
    EXPECT_EQ(model.ChosenName(), "TD");
    model.SetValue(0, "50%");
    // The tag that is current already reloads its presets.
    ASSERT_TRUE(model.Select("TD"));
    EXPECT_EQ(model.Rows()[0].Value, "2");

    // An unknown name: no entry chosen, the previous rows and description stay,
    // and nothing is inserted.
    EXPECT_FALSE(model.Select("BLINK"));
    EXPECT_EQ(model.Chosen(), -1);
    EXPECT_EQ(model.Description(), "Cell");
    EXPECT_EQ(Insert("[x|]"), "[x|]");

    // Case 0: the entry b is found by the command's name B and written as b.
    model.ApplyCase(false);
    ASSERT_TRUE(model.Select("B"));
    EXPECT_EQ(model.StatusText(), "<b>");
    EXPECT_EQ(Insert("[x|]"), "<b>x|</b>");
}

TEST_F(TagPanelModelTest, DefaultOutsideTheRowsIsAnError) {
    model.Choose(IndexOf("A"));
    for (const char* name : {"BIG", "BAD"}) {
        try {
            model.Select(name);
            ADD_FAILURE() << "no error for " << name;
        } catch (const EError& e) {
            EXPECT_STREQ(e.what(), "Grid index out of range");
        }
        // The description, rows and closing text are the new tag's; the help
        // topic and the status text still the previous tag's.
        EXPECT_EQ(model.ChosenName(), name);
        EXPECT_EQ(model.HelpTopic(), "a.html");
        EXPECT_EQ(model.StatusText(), "<A>");
        EXPECT_EQ(model.Rows().size(), 1u);
    }
    EXPECT_EQ(model.Description(), "Negative");
}

TEST_F(TagPanelModelTest, InsTagTable) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::string>> values;  // row, value
        std::string marked, expected;
    };
    const Case cases[] = {
        // Selection wrapped, caret before the closing tag; only filled rows count.
        {"A", {{0, "index.html"}, {1, "_blank"}}, W("[текст|]"), W("<A href=\"index.html\" target=_blank>текст|</A>")},
        {"B", {}, "ab|cd", "ab<B>|</B>cd"},                                    // no selection
        {"B", {}, "x[ab\ncd|]y", "x<B>ab\ncd|</B>y"},                           // two lines
        {"BR", {}, "a[b|]", "a<BR>b|"},                                          // CloseTag=no
        {"HR", {}, "[b|]", "<HR>b|"},                                            // CloseTag=Yes: none either
        {"TD", {}, "|", "<TD width=2>|</TD>"},                                   // preset, digits bare
        {"TD", {{0, "#"}, {1, W("по центру")}}, "|", W("<TD width=\"#\" align=\"по центру\">|</TD>")},
        {"TD", {{0, "100."}}, "|", "<TD width=\"100.\">|</TD>"},                // final full stop
        {"A", {{2, "say \"hi\""}}, "|", "<A title=\"say &quot;hi&quot;\">|</A>"},  // inner quote mended
        {"TD", {{0, " "}}, "|", "<TD width=\" \">|</TD>"},                      // a blank value is a value
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        ASSERT_TRUE(model.Select(c.name));
        for (const auto& [row, value] : c.values) model.SetValue(row, value);
        EXPECT_EQ(Insert(c.marked), c.expected);
    }
}

TEST_F(TagPanelModelTest, InsTagIsOneUndoableStepAndRepeatable) {
    model.Select("A");
    model.SetValue(0, "x.html");
    editortest::Load(editor, "a[bc|]d");
    EXPECT_EQ(model.InsTag(editor), std::optional<std::string>("<A href=\"x.html\">bc</A>"));
    EXPECT_EQ(editortest::Show(editor), "a<A href=\"x.html\">bc|</A>d");
    // The tag stays current with its values: Insert again.
    model.InsTag(editor);
    EXPECT_EQ(editortest::Show(editor), "a<A href=\"x.html\">bc<A href=\"x.html\">|</A></A>d");
    editor.Undo();
    EXPECT_EQ(editortest::Show(editor).find("<A href=\"x.html\"><A"), std::string::npos);
    editor.Undo();
    EXPECT_EQ(editor.Lines().Text(), "abcd");
}

TEST_F(TagPanelModelTest, RowsAndTheirNames) {
    model.Select("A");
    // Values are looked up by name: a later row of the same name writes the
    // first one's value.
    model.MoveRow(2, 0);  // title, href, target
    EXPECT_EQ(model.Rows()[0].Name, "title");
    model.SetValue(1, "h.html");
    EXPECT_EQ(Insert("|"), "<A href=\"h.html\">|</A>");

    model.SetCurrentRow(2);
    EXPECT_EQ(model.CurrentValue(), "");
    model.WriteCurrentValue("_top");
    EXPECT_EQ(model.Rows()[2].Value, "_top");
    EXPECT_EQ(model.CurrentValue(), "_top");

    // A tag without parameters has one empty row; a value written there has no
    // name and gives no attribute.
    model.Select("B");
    model.WriteCurrentValue("left");
    ASSERT_EQ(model.Rows().size(), 1u);
    EXPECT_EQ(model.Rows()[0].Value, "left");
    EXPECT_EQ(Insert("|"), "<B>|</B>");
}

TEST_F(TagPanelModelTest, CommentCommand) {
    editortest::Load(editor, "a|b");
    InsertComment(editor);
    EXPECT_EQ(editortest::Show(editor), "a<!--  -->|b");
    editortest::Load(editor, "[xy|]");
    InsertComment(editor);
    EXPECT_EQ(editortest::Show(editor), "<!-- xy -->|");
}

TEST_F(TagPanelModelTest, ListFileLinesStayAsTheyAre) {
    WriteFile(dir.file("tags.pel"), ">Tables\r\ntable\n\nA\rb");
    model.LoadList(dir.file("tags.pel"));
    EXPECT_EQ(model.Entries(), (std::vector<std::string>{">Tables", "table", "", "A", "b"}));
    EXPECT_THROW(model.LoadList(dir.file("none.pel")), EError);
    EXPECT_EQ(FindTagFile(dir.path + "/", "table"), dir.file("TABLE.pel"));
    EXPECT_EQ(FindTagFile(dir.path + "/", "blink"), "");
}

TEST(CharListTest, CodesByDescription) {
    TempDir dir;
    const std::string ini = dir.file("pelm.ini");
    WriteFile(ini, "[Chars]\r\nNbsp=&nbsp;\r\nCopy=&copy;\r\n");
    const auto list = ReadCharList(TIniFile(ini));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(CharCodeOf(list, 0), "&nbsp;");
    EXPECT_EQ(CharCodeOf(list, 1), "&copy;");
    EXPECT_EQ(CharCodeOf(list, -1), "");
    EXPECT_EQ(CharCodeOf({}, 0), "");
    EXPECT_TRUE(ReadCharList(TIniFile(dir.file("none.ini"))).empty());
}

TEST(DefaultSettingsTest, SeedsANewFileAndNeverOverwrites) {
    TempDir program, config;
    WriteFile(program.file("pelm.ini"), "[Chars]\r\nNbsp=&nbsp;\r\n");
    const std::string user = config.file("pelm.ini");
    // Settings in the program's folder: that file is the settings file.
    EXPECT_FALSE(SeedSettingsFile(program.file("pelm.ini"), program.path + "/"));
    EXPECT_TRUE(SeedSettingsFile(user, program.path + "/"));
    EXPECT_EQ(ReadFile(user), "[Chars]\r\nNbsp=&nbsp;\r\n");
    WriteFile(user, "[Editor]\r\nCase=0\r\n");
    EXPECT_FALSE(SeedSettingsFile(user, program.path + "/"));
    EXPECT_EQ(ReadFile(user), "[Editor]\r\nCase=0\r\n");
    // No shipped file: nothing is made.
    EXPECT_FALSE(SeedSettingsFile(config.file("other.ini"), config.path + "/nowhere/"));
    EXPECT_EQ(ReadFile(config.file("other.ini")), "");
}

}  // namespace
}  // namespace pelm::test
