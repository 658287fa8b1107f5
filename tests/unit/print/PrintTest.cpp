// The print engine on a recording page device: page geometry, pagination,
// wrapping, selected text, line numbers, highlighted rows with and without
// colours, collated copies, the job's status hook, and the header and footer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorTestUtil.h"
#include "core/editor/TCustomCodeEdit.h"
#include "core/highlight/TCustomHighlighter.h"
#include "core/print/TCodeEditPrint.h"
#include "core/print/TRecordingPrintCanvas.h"

using namespace pelm;

namespace {

constexpr TColor KeywordFore = 0xFF0000, CommentFore = 0x008000, CommentBack = 0xC0FFC0;

// Upper-case words are keywords (bold), "#" starts a comment to the line's end
// (italic, coloured), everything else has no attribute.
class TinyHighlighter : public TCustomHighlighter {
public:
    THighlighterAttributes* Keyword;
    THighlighterAttributes* Comment;

    TinyHighlighter() {
        Keyword = AddAttribute("Keyword");
        Comment = AddAttribute("Comment");
        Keyword->SetForeground(KeywordFore);
        Keyword->SetStyle(fsBold);
        Comment->SetForeground(CommentFore);
        Comment->SetBackground(CommentBack);
        Comment->SetStyle(fsItalic);
        FinishConstruction();
    }
    THighlighterAttributes* RoleAttribute(int role) const override { return role == hrComment ? Comment : nullptr; }
    void StartLine(std::string_view text, int lineIndex) override {
        KeepLine(text, lineIndex);
        scan();
    }
    void NextToken() override { scan(); }
    bool AtLineEnd() const override { return atEnd_; }
    int TokenKind() const override { return 0; }
    THighlighterAttributes* TokenAttribute() const override { return attr_; }

private:
    void scan() {
        tokenPos_ = run_;
        atEnd_ = line_[run_] == 0;
        if (atEnd_) return;
        const auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
        if (line_[run_] == '#') {
            while (line_[run_]) ++run_;
            attr_ = Comment;
        } else if (upper(line_[run_])) {
            while (upper(line_[run_])) ++run_;
            attr_ = Keyword;
        } else {
            while (line_[run_] && line_[run_] != '#' && !upper(line_[run_])) ++run_;
            attr_ = nullptr;
        }
    }
    bool atEnd_ = true;
    THighlighterAttributes* attr_ = nullptr;
};

// A small page: 100 x 60 mm at 254 dpi (10 pixels per mm), no unprintable
// strips. With 10 mm margins left, top and bottom and 50 mm right the text
// area is (100,100)-(500,500): cells of 12 pixels (the bold face's width), 33
// of them to a row, rows of 22 pixels, 18 rows to a page.
TPrinterCaps smallPage() { return TPrinterCaps{1000, 600, 1000, 600, 0, 0, 254, 254}; }

struct PrintFixture : ::testing::Test {
    TRecordingPrintCanvas canvas;
    TCodeEditPrint engine;

    PrintFixture() {
        canvas.PageCaps = smallPage();
        engine.Margins.SetLeft(10);
        engine.Margins.SetRight(50);
        engine.Margins.SetTop(10);
        engine.Margins.SetBottom(10);
        engine.Font = TPrintFont{"Courier New", 10, clBlack, 0};
    }
    void lines(const std::vector<std::string>& ls) {
        for (const auto& s : ls) engine.AddLine(s);
    }
    // The recorded calls without the font changes, which every print makes alike.
    std::string drawn() const {
        std::string s;
        for (const auto& c : canvas.Calls())
            if (c.rfind("font ", 0) != 0) s += c + "\n";
        return s;
    }
};

TEST(PrintGeometry, RoundsHalvesToEven) {
    const struct {
        double value;
        int rounded;
    } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-0.5, 0}, {0.49, 0}, {1.51, 2}, {472.551, 473}, {7.0, 7}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

TEST(PrintGeometry, MarginsInEveryUnitSystem) {
    TCodeEditPrintMargins m;
    const double defaults[] = {25, 15, 25, 25, 15, 15, 2, 2, 0.5, 0};
    for (int i = 0; i < TCodeEditPrintMargins::MarginCount; ++i)
        EXPECT_DOUBLE_EQ(m.MM(static_cast<TCodeEditPrintMargins::Margin>(i)), defaults[i]);
    EXPECT_FALSE(m.MirrorMargins);
    m.SetUnitSystem(usCM);
    EXPECT_DOUBLE_EQ(m.Left(), 2.5);
    m.SetUnitSystem(usInch);
    m.SetTop(1);
    EXPECT_DOUBLE_EQ(m.MM(TCodeEditPrintMargins::mTop), 25.4);
    m.SetUnitSystem(muThousandthsOfInches);
    m.SetBottom(500);
    EXPECT_DOUBLE_EQ(m.MM(TCodeEditPrintMargins::mBottom), 12.7);
    EXPECT_DOUBLE_EQ(m.Top(), 1000);
}

// A4 at 600 dpi with a 118-pixel unprintable strip on every side.
TEST(PrintGeometry, A4At600DpiWithOffsets) {
    TCodeEditPrinterInfo info;
    info.Update(TPrinterCaps{4960, 7016, 4724, 6780, 118, 118, 600, 600});
    EXPECT_EQ(info.RightGutter(), 118);
    EXPECT_EQ(info.BottomGutter(), 118);
    EXPECT_NEAR(info.XPixPrmm(), 23.622, 0.001);
    TCodeEditPrintMargins m;
    TPageGeometry g = ComputePageGeometry(m, info, 1, 0);
    // 25 mm = 590.55 px, less the strip: 472.55 -> 473; 15 mm = 354.33 -> 236.
    EXPECT_EQ(g.TextLeft, 473);
    EXPECT_EQ(g.TextRight, 4724 - 236);
    EXPECT_EQ(g.TextTop, 473);
    EXPECT_EQ(g.TextBottom, 6780 - 473);
    EXPECT_EQ(g.HeaderEdge, 236);
    EXPECT_EQ(g.FooterEdge, 6780 - 236);
    EXPECT_EQ(g.BandInnerSpace, 12);  // 0.5 mm = 11.81
    EXPECT_EQ(g.GutterPixels, 0);
    EXPECT_EQ(g.BandTextLeft, 473 + 47);  // 2 mm = 47.24
    EXPECT_EQ(g.BandTextRight, 4488 - 47);
    // Line numbers move the text's left edge only.
    EXPECT_EQ(ComputePageGeometry(m, info, 1, 120).TextLeft, 593);

    // Mirrored margins with a 5 mm binding gutter: odd pages keep the left
    // margin plus the gutter on the left, even pages move both to the right.
    m.MirrorMargins = true;
    m.SetGutter(5);
    g = ComputePageGeometry(m, info, 3, 0);
    EXPECT_EQ(g.TextLeft, 591);  // 30 mm = 708.66 - 118
    EXPECT_EQ(g.TextRight, 4488);
    EXPECT_EQ(g.GutterPixels, 118);  // 118.11
    g = ComputePageGeometry(m, info, 2, 0);
    EXPECT_EQ(g.TextLeft, 236);
    EXPECT_EQ(g.TextRight, 4724 - 591);
}

TEST(PrintGeometry, HalfPixelsRoundToEven) {
    TCodeEditPrinterInfo info;
    info.Update(TPrinterCaps{2540, 2540, 2540, 2540, 0, 0, 254, 254});  // 10 px per mm
    TCodeEditPrintMargins m;
    m.SetTop(0.25);             // 2.5 -> 2
    m.SetHFInternalMargin(0.75);  // 7.5 -> 8
    m.SetLeft(0.45);            // 4.5 -> 4
    const TPageGeometry g = ComputePageGeometry(m, info, 1, 0);
    EXPECT_EQ(g.TextTop, 2);
    EXPECT_EQ(g.BandInnerSpace, 8);
    EXPECT_EQ(g.TextLeft, 4);
}

TEST(PrintWrap, BreakCharactersAndFallbacks) {
    const struct {
        const char* text;
        int rowChars;
        std::vector<int> points;
    } cases[] = {
        {"short", 10, {}},
        {"0123456789", 10, {}},
        // Blank, "-", tab and ",": the row ends after the last one that fits.
        {"aaa bbb ccc ddd", 8, {8}},
        {"aaa-bbb,ccc ddd eee", 8, {8, 16}},
        // The only break character just past the row ends a row one longer.
        {"abcdefgh ijk", 8, {9}},
        // Without those, ")", "." and ";".
        {"f(a).g(b);h(c)", 6, {5, 10}},
        // Without any, rows of rowChars.
        {"abcdefghijklmnopqrstu", 8, {8, 16}},
        // Rows below 1 character count as 1, so the walk ends.
        {"abc", 0, {1, 2}},
        {"abc", -5, {1, 2}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TCodeEditPrint::WrapPoints(c.text, c.rowChars), c.points) << c.text << " / " << c.rowChars;
}

TEST(PrintWrap, CommaSeparatedWordsBreakAfterCommaOrBlank) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += (i % 3 ? "word" : "longerword") + std::string(i % 2 ? ", " : ",");
    const std::vector<int> points = TCodeEditPrint::WrapPoints(text, 24);
    ASSERT_GT(points.size(), 3u);
    int prev = 0;
    for (int p : points) {
        EXPECT_LE(p - prev, 24);
        const char last = text[static_cast<size_t>(p - 1)];
        EXPECT_TRUE(last == ',' || last == ' ') << p;
        prev = p;
    }
    EXPECT_LE(static_cast<int>(text.size()) - prev, 24);
}

TEST_F(PrintFixture, TabsExpandToTheTabWidth) {
    engine.SetTabWidth(4);
    engine.AddLine("\tab\tc\t");
    engine.SetTabWidth(1);
    engine.AddLine("a\tb");
    EXPECT_EQ(engine.Line(0), "    ab  c   ");
    EXPECT_EQ(engine.Line(1), "a b");
}

TEST_F(PrintFixture, TenNumberedLinesOnOnePage) {
    for (int i = 1; i <= 10; ++i) engine.AddLine("line " + std::to_string(i));
    engine.LineNumbers = true;
    engine.DocTitle = "Vorn Pelm - [ten.txt]";
    engine.PrintPages(canvas);
    EXPECT_EQ(engine.PageCount(), 1);
    EXPECT_EQ(engine.CellWidth(), 12);
    EXPECT_EQ(engine.RowHeight(), 22);
    // "10: " is four cells: the text starts 48 pixels right of the margin and
    // every number ends there.
    EXPECT_EQ(drawn(),
              "job \"Vorn Pelm - [ten.txt]\"\n"
              "fill 148,100 352x400 0xFFFFFF\n"
              "text 112,100 c12 \"1: \" - 0x000000 0xFFFFFF\n"
              "text 148,100 c12 \"line 1\" - 0x000000 0xFFFFFF\n"
              "text 112,122 c12 \"2: \" - 0x000000 0xFFFFFF\n"
              "text 148,122 c12 \"line 2\" - 0x000000 0xFFFFFF\n"
              "text 112,144 c12 \"3: \" - 0x000000 0xFFFFFF\n"
              "text 148,144 c12 \"line 3\" - 0x000000 0xFFFFFF\n"
              "text 112,166 c12 \"4: \" - 0x000000 0xFFFFFF\n"
              "text 148,166 c12 \"line 4\" - 0x000000 0xFFFFFF\n"
              "text 112,188 c12 \"5: \" - 0x000000 0xFFFFFF\n"
              "text 148,188 c12 \"line 5\" - 0x000000 0xFFFFFF\n"
              "text 112,210 c12 \"6: \" - 0x000000 0xFFFFFF\n"
              "text 148,210 c12 \"line 6\" - 0x000000 0xFFFFFF\n"
              "text 112,232 c12 \"7: \" - 0x000000 0xFFFFFF\n"
              "text 148,232 c12 \"line 7\" - 0x000000 0xFFFFFF\n"
              "text 112,254 c12 \"8: \" - 0x000000 0xFFFFFF\n"
              "text 148,254 c12 \"line 8\" - 0x000000 0xFFFFFF\n"
              "text 112,276 c12 \"9: \" - 0x000000 0xFFFFFF\n"
              "text 148,276 c12 \"line 9\" - 0x000000 0xFFFFFF\n"
              "text 100,298 c12 \"10: \" - 0x000000 0xFFFFFF\n"
              "text 148,298 c12 \"line 10\" - 0x000000 0xFFFFFF\n"
              "endjob\n");
}

TEST_F(PrintFixture, UnbreakableLinePrintsInRowsOfRowChars) {
    engine.AddLine(std::string(200, 'x'));
    engine.PrintPages(canvas);
    ASSERT_EQ(engine.RowChars(), 33);
    EXPECT_EQ(engine.RowWidth(), 396);
    std::vector<std::string> rows;
    for (const auto& c : canvas.Calls())
        if (c.rfind("text ", 0) == 0) rows.push_back(c);
    ASSERT_EQ(rows.size(), 7u);  // 6 x 33 + 2
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::string xs(r < 6 ? 33 : 2, 'x');
        EXPECT_EQ(rows[r], "text 100," + std::to_string(100 + 22 * static_cast<int>(r)) + " c12 \"" + xs +
                               "\" - 0x000000 0xFFFFFF");
    }
}

TEST_F(PrintFixture, StreamSelectionPrintsItsPartsWithTheirNumbers) {
    lines({"one one", "two two", "three three", "four four", "five five", "six six"});
    engine.SetSelection(true, TBufferCoord{4, 3}, TBufferCoord{5, 5}, smNormal);
    engine.SelectedOnly = true;
    engine.LineNumbers = true;
    engine.PrintPages(canvas);
    EXPECT_EQ(drawn(),
              "job \"\"\n"
              "fill 136,100 364x400 0xFFFFFF\n"
              "text 100,100 c12 \"3: \" - 0x000000 0xFFFFFF\n"
              "text 136,100 c12 \"ee three\" - 0x000000 0xFFFFFF\n"
              "text 100,122 c12 \"4: \" - 0x000000 0xFFFFFF\n"
              "text 136,122 c12 \"four four\" - 0x000000 0xFFFFFF\n"
              "text 100,144 c12 \"5: \" - 0x000000 0xFFFFFF\n"
              "text 136,144 c12 \"five\" - 0x000000 0xFFFFFF\n"
              "endjob\n");
}

TEST_F(PrintFixture, SelectedTextInEachMode) {
    lines({"0123456789", "abcdefghij", "ABCDEFGHIJ"});
    engine.SelectedOnly = true;
    const struct {
        TSelectionMode mode;
        const char* texts[3];
    } cases[] = {
        {smNormal, {"3456789", "abcdefghij", "ABCDE"}},
        {smLine, {"0123456789", "abcdefghij", "ABCDEFGHIJ"}},
        {smColumn, {"34", "de", "DE"}},
    };
    for (const auto& c : cases) {
        engine.SetSelection(true, TBufferCoord{4, 1}, TBufferCoord{6, 3}, c.mode);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(engine.PrintedText(i), c.texts[i]) << c.mode << " line " << i;
    }
    // An empty or reversed part prints an empty row.
    engine.SetSelection(true, TBufferCoord{6, 1}, TBufferCoord{4, 3}, smColumn);
    EXPECT_EQ(engine.PrintedText(1), "");
    // Without a selection nothing prints, not even a job.
    engine.SetSelection(false, TBufferCoord{1, 1}, TBufferCoord{1, 1}, smNormal);
    engine.PrintPages(canvas);
    EXPECT_TRUE(canvas.Calls().empty());
    // Unchecked, the whole document prints whatever was selected.
    engine.SelectedOnly = false;
    EXPECT_EQ(engine.PrintedText(0), "0123456789");
}

TEST_F(PrintFixture, CopiesAreCollatedInOneJob) {
    for (int i = 1; i <= 30; ++i) engine.AddLine("line " + std::to_string(i));
    engine.Copies = 3;
    std::vector<std::string> events;
    engine.OnPrintStatus = [&](TSynPrintStatus s, int page, bool&) {
        events.push_back(s == psBegin ? "begin" : s == psEnd ? "end" : std::to_string(page));
    };
    engine.PrintPages(canvas);
    EXPECT_EQ(engine.PageCount(), 2);
    EXPECT_EQ(engine.PageFirstLines(), (std::vector<int>{0, 18}));
    EXPECT_EQ(events, (std::vector<std::string>{"begin", "1", "2", "1", "2", "1", "2", "end"}));
    EXPECT_EQ(canvas.Pages(), 6);
    int jobs = 0, ends = 0;
    for (const auto& c : canvas.Calls()) {
        jobs += c.rfind("job ", 0) == 0;
        ends += c == "endjob";
    }
    EXPECT_EQ(jobs, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(canvas.Calls().back(), "endjob");

    // No copies: the job starts and ends with no pages.
    canvas.Clear();
    engine.Copies = 0;
    engine.PrintPages(canvas);
    EXPECT_EQ(drawn(), "job \"\"\nendjob\n");
}

TEST_F(PrintFixture, TheStatusHookAbortsTheJob) {
    for (int i = 1; i <= 60; ++i) engine.AddLine("line " + std::to_string(i));
    int lastLine = 0;
    engine.OnPrintLine = [&](int line, int) { lastLine = line; };
    engine.OnPrintStatus = [&](TSynPrintStatus s, int page, bool& abort) {
        if (s == psNewPage && page == 2) abort = true;
    };
    engine.PrintPages(canvas);
    EXPECT_TRUE(engine.Aborted());
    EXPECT_EQ(lastLine, 18);
    // Page 2 was started after page 1; the aborted job drops it.
    EXPECT_EQ(canvas.Pages(), 2);
    EXPECT_EQ(canvas.Calls().back(), "abortjob");
}

TEST_F(PrintFixture, WrappedRowsRunOnButNeverStartAPage) {
    // 17 short lines, then a line of three rows on the 18th row: it stays on
    // page 1 below the text area; the next line starts page 2.
    for (int i = 0; i < 17; ++i) engine.AddLine("x");
    engine.AddLine(std::string(80, 'y'));
    engine.AddLine("z");
    engine.Prepare(canvas);
    EXPECT_EQ(engine.PageFirstLines(), (std::vector<int>{0, 18}));
}

TEST_F(PrintFixture, HighlightedRowsInColourAndWithoutColours) {
    TinyHighlighter hl;
    engine.SetHighlighter(&hl);
    // A keyword cut by the wrap: the part past the row's end starts the next row.
    lines({"IF a # note", std::string(30, 'a') + "FOREACHb"});
    engine.Colors = true;
    engine.PrintPages(canvas);
    EXPECT_EQ(drawn(),
              "job \"\"\n"
              "fill 100,100 400x400 0xFFFFFF\n"
              "fill 100,100 60x22 0xFFFFFF\n"
              "fill 160,100 72x22 0xC0FFC0\n"
              "text 100,100 c12 \"IF\" B 0xFF0000 none\n"
              "text 136,100 c12 \"a\" - 0x000000 none\n"
              "text 160,100 c12 \"# note\" I 0x008000 none\n"
              "fill 100,122 396x22 0xFFFFFF\n"
              "text 100,122 c12 \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\" - 0x000000 none\n"
              "text 460,122 c12 \"FOR\" B 0xFF0000 none\n"
              "fill 100,144 60x22 0xFFFFFF\n"
              "text 100,144 c12 \"EACH\" B 0xFF0000 none\n"
              "text 148,144 c12 \"b\" - 0x000000 none\n"
              "endjob\n");
    // Colours off: the styles stay, every token takes the font's colour on
    // the page colour.
    canvas.Clear();
    engine.Colors = false;
    engine.PrintPages(canvas);
    EXPECT_EQ(drawn(),
              "job \"\"\n"
              "fill 100,100 400x400 0xFFFFFF\n"
              "fill 100,100 132x22 0xFFFFFF\n"
              "text 100,100 c12 \"IF\" B 0x000000 none\n"
              "text 136,100 c12 \"a\" - 0x000000 none\n"
              "text 160,100 c12 \"# note\" I 0x000000 none\n"
              "fill 100,122 396x22 0xFFFFFF\n"
              "text 100,122 c12 \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\" - 0x000000 none\n"
              "text 460,122 c12 \"FOR\" B 0x000000 none\n"
              "fill 100,144 60x22 0xFFFFFF\n"
              "text 100,144 c12 \"EACH\" B 0x000000 none\n"
              "text 148,144 c12 \"b\" - 0x000000 none\n"
              "endjob\n");
}

// The engine's lines are tab-expanded copies; the editor's selection columns
// count bytes, so they are taken over as cells of the expanded lines.
TEST_F(PrintFixture, TakesTheEditorsTextAndSelectionAcrossTabs) {
    TCustomCodeEdit editor;
    editor.SetTabWidth(4);
    editortest::Load(editor, "a\tb[cd\n\tef\tg\nxy\tz]w");
    engine.TakeEditor(editor);
    ASSERT_EQ(engine.LineCount(), 3);
    EXPECT_EQ(engine.Line(0), "a   bcd");
    EXPECT_EQ(engine.Line(1), "    ef  g");
    EXPECT_EQ(engine.TabWidth(), 4);
    engine.SelectedOnly = true;
    EXPECT_EQ(engine.PrintedText(0), "cd");
    EXPECT_EQ(engine.PrintedText(1), "    ef  g");
    EXPECT_EQ(engine.PrintedText(2), "xy  z");
    // A block drawn from right to left selects the same cells.
    editor.SetSelectionMode(smColumn);
    editortest::Load(editor, "abcd]ef\nab[cdef");
    editor.SetSelectionMode(smColumn);
    engine.TakeEditor(editor);
    EXPECT_EQ(engine.PrintedText(0), "cd");
    EXPECT_EQ(engine.PrintedText(1), "cd");
}

TEST_F(PrintFixture, MirrorMarginsOnAnEvenPage) {
    for (int i = 1; i <= 20; ++i) engine.AddLine(std::string("l").append(std::to_string(i)));
    engine.Margins.MirrorMargins = true;
    engine.PrintPages(canvas, 2, 2);
    // Page 2 takes the right margin (50 mm) on the left and the left one on
    // the right: the text area is (500,100)-(900,500).
    EXPECT_EQ(drawn(),
              "job \"\"\n"
              "fill 500,100 400x400 0xFFFFFF\n"
              "text 500,100 c12 \"l19\" - 0x000000 0xFFFFFF\n"
              "text 500,122 c12 \"l20\" - 0x000000 0xFFFFFF\n"
              "endjob\n");
}

TEST_F(PrintFixture, MarginsWiderThanThePageStillEnd) {
    engine.Margins.SetRight(95);  // the text area has a negative width
    engine.AddLine("abcd");
    engine.PrintPages(canvas);
    EXPECT_EQ(engine.RowChars(), 1);
    int rows = 0;
    for (const auto& c : canvas.Calls()) rows += c.rfind("text ", 0) == 0;
    EXPECT_EQ(rows, 4);
}

TEST(PrintHeaderFooter, MacrosAndRomanNumerals) {
    const struct {
        int n;
        const char* roman;
    } romans[] = {{1, "I"}, {4, "IV"}, {9, "IX"}, {14, "XIV"}, {40, "XL"}, {90, "XC"},
                  {400, "CD"}, {1994, "MCMXCIV"}, {3999, "MMMCMXCIX"}, {0, "0"}};
    for (const auto& r : romans) EXPECT_EQ(RomanNumeral(r.n), r.roman);

    THeaderFooter band(true);
    band.DateText = "11.12.2026";
    band.TimeText = "17:05:00";
    band.InitPrint(12, "index.html");
    EXPECT_EQ(band.ExpandMacros("Page $pagenum$ of $PAGECOUNT$", 3), "Page 3 of 12");
    EXPECT_EQ(band.ExpandMacros("$TITLE$, $Date$ $TIME$", 1), "index.html, 11.12.2026 17:05:00");
    EXPECT_EQ(band.ExpandMacros("$DATETIME$|$TIMEDATE$", 1), "11.12.2026 17:05:00|17:05:00 11.12.2026");
    EXPECT_EQ(band.ExpandMacros("$5 and $$ and $NOPE$PAGENUM$ $", 7), "$5 and $$ and $NOPE7 $");
    band.RomanNumbers = true;
    EXPECT_EQ(band.ExpandMacros("$PAGENUM$/$PAGECOUNT$", 4), "IV/XII");
}

TEST_F(PrintFixture, HeaderAndFooterBands) {
    engine.AddLine("x");
    engine.Margins.SetHeader(8);
    engine.Margins.SetFooter(8);
    engine.Header.DateText = "d";
    engine.Header.TimeText = "t";
    engine.Title = "T";
    engine.Header.Add("$TITLE$", nullptr, hfaLeft, 1);
    engine.Header.Add("$PAGENUM$/$PAGECOUNT$", nullptr, hfaRight, 1);
    engine.Footer.FrameType = ftShaded;
    engine.Footer.Add("$TITLE$", nullptr, hfaCenter, 1);
    engine.PrintPages(canvas);
    // The header band ends at 80 (8 mm); its line is 20 high plus 5 above
    // and below; the footer band starts at 520.
    EXPECT_EQ(drawn(),
              "job \"T\"\n"
              "fill 100,100 400x400 0xFFFFFF\n"
              "line 100,80 500,80 0x000000\n"
              "textout 120,55 \"T\"\n"
              "textout 450,55 \"1/1\"\n"
              "text 100,100 c12 \"x\" - 0x000000 0xFFFFFF\n"
              "fill 100,520 400x30 0xC0C0C0\n"
              "frame 100,520 400x30 0x000000\n"
              "textout 295,525 \"T\"\n"
              "endjob\n");
}

TEST_F(PrintFixture, LineAndPageOffsets) {
    lines({"a", "b"});
    engine.LineNumbers = true;
    engine.LineOffset = 99;
    engine.PageOffset = 4;
    engine.Header.Add("p$PAGENUM$", nullptr, hfaLeft, 1);
    engine.PrintPages(canvas);
    std::string numbers, header;
    for (const auto& c : canvas.Calls()) {
        if (c.find(": \"") != std::string::npos) numbers += c.substr(0, c.find(" c12")) + c.substr(c.find('"')) + "\n";
        if (c.rfind("textout ", 0) == 0) header = c;
    }
    // "101: " is five cells wide: the text moves 60 pixels right.
    EXPECT_EQ(numbers,
              "text 100,100\"100: \" - 0x000000 0xFFFFFF\n"
              "text 100,122\"101: \" - 0x000000 0xFFFFFF\n");
    EXPECT_EQ(engine.Geometry().TextLeft, 160);
    EXPECT_NE(header.find("\"p5\""), std::string::npos) << header;
}

// Both bands stay empty in the program's own prints: nothing, no frame line,
// is drawn for them.
TEST_F(PrintFixture, EmptyBandsDrawNothing) {
    engine.AddLine("x");
    engine.PrintPages(canvas);
    for (const auto& c : canvas.Calls()) {
        EXPECT_NE(c.rfind("line ", 0), 0u) << c;
        EXPECT_NE(c.rfind("textout ", 0), 0u) << c;
    }
}

}  // namespace
