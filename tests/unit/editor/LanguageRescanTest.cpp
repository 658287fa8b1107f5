// Editing inside a multi-line construct of each language: the editor's
// incremental rescan goes on exactly until a line's new end state equals the
// stored one, and leaves the states a full scan of the new text gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "EditorTestUtil.h"
#include "core/editor/TCustomCodeEdit.h"
#include "core/highlight/LanguageRegistry.h"

using namespace pelm;

namespace {

std::vector<uint32_t> fullScan(DocumentKind kind, const TCodeEditStringList& lines) {
    std::unique_ptr<TLanguageHighlighter> hl = MakeHighlighter(kind);
    std::vector<uint32_t> out;
    hl->ResetState();
    for (int i = 0; i < lines.Count(); ++i) {
        hl->StartLine(lines.Line(i), i);
        hl->ScanToLineEnd();
        out.push_back(hl->GetState());
    }
    return out;
}

std::vector<uint32_t> stored(const TCodeEditStringList& lines) {
    std::vector<uint32_t> out;
    for (int i = 0; i < lines.Count(); ++i) out.push_back(static_cast<uint32_t>(lines.LineState(i)));
    return out;
}

struct Case {
    const char* name;
    DocumentKind kind;
    const char* text;   // '|' marks the caret (brackets are text here, so no marker notation)
    const char* prefix; // typed first
    const char* last;   // the keystroke whose rescan is checked; no line count changes
    int editedLine;     // 0-based
    int stopLine;       // the first line whose end state is what it was
};

const Case kCases[] = {
    // Typing inside a comment keeps every state: the rescan stops at once.
    {"XmlCommentInside", DocumentKind::XML, "<a>\n<!-- one\nt|wo\nthree -->\n<b/>\ntext", "xy", "z", 2, 2},
    // Closing the comment early: the lines after it become text up to the old close.
    {"XmlCommentClosed", DocumentKind::XML, "<a>\n<!-- one|\ntwo\nthree -->\n<b/>\ntext", "--", ">", 1, 3},
    // Removing the opener's '!': no comment at all any more.
    {"XmlCommentOpenerBroken", DocumentKind::XML, "<a>\n<|!-- one\ntwo\nthree -->\n<b/>\ntext", "", "{Del}", 1, 4},
    {"XmlCDataClosed", DocumentKind::XML, "<![CDATA[ x|\ny\n]]>\n<c/>", "]]", ">", 0, 2},
    {"XmlCDataOpened", DocumentKind::XML, "<a>|\ny\n]]>\n<c/>", "<![CDATA", "[", 0, 3},
    {"CssCommentOpenerBroken", DocumentKind::CSS, "p {\n/|* a\nb\n*/ color: red;\n}\ndiv {}", "", "{BS}", 1, 3},
    {"CssCommentInside", DocumentKind::CSS, "p {\n/* a\nb|\n*/ color: red;\n}\ndiv {}", " mor", "e", 2, 2},
    {"CssCommentOpenedInSelector", DocumentKind::CSS, "p {}\nh1|\n*/ {}\ndiv {}", " /", "*", 1, 2},
};

class LanguageRescan : public ::testing::TestWithParam<Case> {};

TEST_P(LanguageRescan, StopsWhereTheStoredStateMatchesAndEqualsAFullScan) {
    const Case& c = GetParam();
    TCustomCodeEdit e;
    std::unique_ptr<TLanguageHighlighter> hl = MakeHighlighter(c.kind);
    std::string text = c.text;
    const size_t bar = text.find('|');
    const int caretLine = static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(bar), '\n'));
    const size_t lineStart = text.rfind('\n', bar) == std::string::npos ? 0 : text.rfind('\n', bar) + 1;
    text.erase(bar, 1);
    e.Lines().SetText(text);
    e.SetCaretPos(TBufferCoord{.Column = static_cast<int>(bar - lineStart) + 1, .Line = caretLine + 1});
    e.SetHighlighter(hl.get());
    ASSERT_EQ(stored(e.Lines()), fullScan(c.kind, e.Lines()));
    editortest::Keys(e, c.prefix);
    const std::vector<uint32_t> before = stored(e.Lines());
    ASSERT_EQ(before, fullScan(c.kind, e.Lines()));

    const int lineCount = e.Lines().Count();
    editortest::Keys(e, c.last);
    ASSERT_EQ(e.Lines().Count(), lineCount);

    const std::vector<uint32_t> after = stored(e.Lines());
    const std::vector<uint32_t> full = fullScan(c.kind, e.Lines());
    EXPECT_EQ(after, full);
    // The first line at or after the edit whose state did not change.
    int stop = c.editedLine;
    while (stop < lineCount - 1 && full[static_cast<size_t>(stop)] != before[static_cast<size_t>(stop)]) ++stop;
    EXPECT_EQ(stop, c.stopLine) << e.Lines().Text();
    // Every line before the stop changed its state; the rescan could not have ended sooner.
    for (int i = c.editedLine; i < stop; ++i) EXPECT_NE(full[static_cast<size_t>(i)], before[static_cast<size_t>(i)]) << i;
    // The rescan runs from the edited line down; the highlighter's last line is where it stopped.
    EXPECT_EQ(hl->LineIndex(), stop) << "the last line scanned";
    e.SetHighlighter(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Edits, LanguageRescan, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
