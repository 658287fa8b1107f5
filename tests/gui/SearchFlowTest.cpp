// The main window's search commands end to end: the dialogs and the replace
// prompt answered by the test, the remembered state, the beep and the editor.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <deque>
#include <functional>

#include "MainWindowFixture.h"
#include "core/editor/TCustomCodeEdit.h"
#include "gui/dialogs/TConfirmReplaceDialog.h"
#include "gui/dialogs/TSearchPrompts.h"
#include "gui/dialogs/TTextReplaceDialog.h"
#include "gui/editor/TCodeEdit.h"

namespace pelm::test {
namespace {

// Dialog scripts fill the dialog and say whether it closes with OK; the replace
// prompts take their answers from a queue.
class ScriptedSearchPrompts : public TSearchPrompts {
public:
    std::deque<std::function<bool(TTextSearchDialog&)>> dialogs;
    std::deque<TCodeReplaceAction> answers;
    QStringList confirmTexts;
    QList<QRect> confirmPlaces;  // frame geometry at each prompt
    int beeps = 0;

    bool ExecuteSearchDialog(TTextSearchDialog& dialog) override {
        if (dialogs.empty()) {
            ADD_FAILURE() << "unexpected search dialog";
            return false;
        }
        auto script = std::move(dialogs.front());
        dialogs.pop_front();
        bool ok = script(dialog);
        if (ok) dialog.accept();
        else dialog.reject();
        return ok;
    }
    TCodeReplaceAction ExecuteConfirmDialog(TConfirmReplaceDialog& dialog) override {
        confirmTexts << dialog.lblConfirmation->text();
        confirmPlaces << dialog.frameGeometry();
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected replace prompt";
            return raCancel;
        }
        TCodeReplaceAction a = answers.front();
        answers.pop_front();
        return a;
    }
    void Beep() override { ++beeps; }
};

// A dialog script: the texts typed in, the boxes as given, then OK.
std::function<bool(TTextSearchDialog&)> Fill(std::string search, std::string replace = {}, bool regex = false,
                                             bool backwards = false) {
    return [=](TTextSearchDialog& d) {
        d.SetSearchText(search);
        d.SetSearchRegularExpression(regex);
        d.SetSearchBackwards(backwards);
        if (auto* r = dynamic_cast<TTextReplaceDialog*>(&d)) r->SetReplaceText(replace);
        return true;
    };
}

class SearchFlowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        w_ = Start();
        w_->SetSearchPrompts(&search_);
    }
    void TearDown() override { w_.reset(); }

    TCustomCodeEdit& Editor() { return w_->snEditor->Model(); }
    void SetText(const char* text) {
        Editor().Lines().SetText(text);
        Editor().SetCaretPos(TBufferCoord{1, 1});
    }

    ScriptedSearchPrompts search_;
    std::unique_ptr<TfrMain> w_;
};

TEST_F(SearchFlowTest, FindSelectsMatchAndFindNextContinuesFromCaret) {
    SetText("ab\r\nxab ab");
    Editor().SetCaretPos(TBufferCoord{2, 2});
    search_.dialogs.push_back(Fill("ab"));
    w_->pnkSearchFindClick();
    // The first dialog search covers the whole text (the cursor box is off).
    EXPECT_EQ(Editor().SelectedText(), "ab");
    EXPECT_EQ(Editor().CaretPos(), (TBufferCoord{3, 1}));
    EXPECT_TRUE(w_->ContinueFromCaret());
    w_->pnkSearchFindNextClick();
    EXPECT_EQ(Editor().SelBeginPos(), (TBufferCoord{2, 2}));
    w_->pnkSearchFindNextClick();
    EXPECT_EQ(Editor().SelBeginPos(), (TBufferCoord{5, 2}));
    // Back from the end of a match finds that match, the caret going to its start;
    // from there the previous one.
    w_->pnkSearchFindBackClick();
    EXPECT_EQ(Editor().SelBeginPos(), (TBufferCoord{5, 2}));
    EXPECT_EQ(Editor().CaretPos(), (TBufferCoord{5, 2}));
    w_->pnkSearchFindBackClick();
    EXPECT_EQ(Editor().SelBeginPos(), (TBufferCoord{2, 2}));
    EXPECT_EQ(search_.beeps, 0);
    EXPECT_TRUE(prompts_.errors.isEmpty());
}

TEST_F(SearchFlowTest, HistoryKeepsTenEntriesWithoutCaseDuplicates) {
    SetText("x");
    for (int i = 1; i <= 11; ++i) {
        std::string text = "t";
        text += std::to_string(i);
        search_.dialogs.push_back(Fill(text));
    }
    search_.dialogs.push_back(Fill("T5"));
    for (int i = 0; i < 12; ++i) w_->pnkSearchFindClick();
    EXPECT_EQ(w_->SearchState().SearchHistory, "T5\r\nt11\r\nt10\r\nt9\r\nt8\r\nt7\r\nt6\r\nt4\r\nt3\r\nt2");
    EXPECT_EQ(search_.beeps, 12);  // nothing found each time
    // The next dialog opens with that list and the last text.
    int items = 0;
    QString shown;
    search_.dialogs.push_back([&](TTextSearchDialog& d) {
        items = d.cbSearchText->count();
        shown = d.cbSearchText->currentText();
        return false;
    });
    w_->pnkSearchFindClick();
    EXPECT_EQ(items, 10);
    EXPECT_EQ(shown, QStringLiteral("T5"));
}

TEST_F(SearchFlowTest, RegexBoxOpensUncheckedButFindNextKeepsTheExpression) {
    SetText("b a+ aaa");
    search_.dialogs.push_back(Fill("a+", {}, true));
    w_->pnkSearchFindClick();
    EXPECT_EQ(Editor().SelectedText(), "a");
    bool regexShown = true;
    search_.dialogs.push_back([&](TTextSearchDialog& d) {
        regexShown = d.SearchRegularExpression();
        return false;  // cancelled: the state stays
    });
    w_->pnkSearchFindClick();
    EXPECT_FALSE(regexShown);
    EXPECT_TRUE(w_->SearchState().LastRegex);
    w_->pnkSearchFindNextClick();
    EXPECT_EQ(Editor().SelectedText(), "aaa");
}

TEST_F(SearchFlowTest, ReplaceAsksBesideEachMatch) {
    SetText("a a a a");
    search_.dialogs.push_back(Fill("a", "bb"));
    search_.answers = {raReplace, raSkip, raReplaceAll};
    w_->pnkSearchReplaceClick();
    EXPECT_EQ(Editor().Lines().Text(), "bb a bb bb");
    EXPECT_EQ(search_.confirmTexts, QStringList({"a", "a", "a"}));
    EXPECT_TRUE(ConfirmReplaceDialog.isNull()) << "the prompt is destroyed when the run ends";
    EXPECT_EQ(w_->SearchState().LastReplaceText, "bb");
    EXPECT_EQ(w_->SearchState().ReplaceHistory, "bb");
    EXPECT_EQ(search_.beeps, 0);
    // The last step was replace-all: one undo takes back the two replaced in it.
    Editor().Undo();
    EXPECT_EQ(Editor().Lines().Text(), "bb a a a");
}

TEST_F(SearchFlowTest, PromptBelowMatchOrAboveItInTheLowerThird) {
    w_->resize(800, 600);
    w_->show();
    QApplication::processEvents();
    const int rows = Editor().VisibleRows();
    ASSERT_GT(rows, 6);
    // A match near the top, and one just below the window: the view scrolls by
    // one row, so that match stands on the bottom row.
    std::string text;
    for (int i = 1; i <= rows + 20; ++i) text += i == 2 || i == rows + 1 ? "needle\r\n" : "hay\r\n";
    SetText(text.c_str());
    search_.dialogs.push_back(Fill("needle", "pin"));
    search_.answers = {raSkip, raSkip};
    w_->pnkSearchReplaceClick();
    ASSERT_EQ(search_.confirmPlaces.size(), 2);
    EXPECT_EQ(Editor().FirstRow(), 2);
    const int rowHeight = Editor().RowPixelHeight();
    const int x = Editor().CellToPixels(TDisplayCoord{1, 1}).first;
    const QPoint first = w_->snEditor->viewport()->mapToGlobal(QPoint(x, 1 * rowHeight));
    const QPoint second = w_->snEditor->viewport()->mapToGlobal(QPoint(x, (rows - 1) * rowHeight));
    EXPECT_EQ(search_.confirmPlaces[0].topLeft(), QPoint(first.x(), first.y() + rowHeight + 4));
    EXPECT_EQ(search_.confirmPlaces[1].topLeft(), QPoint(second.x(), second.y() - 66 - 4));
    w_->hide();
}

TEST_F(SearchFlowTest, ReplacementEqualToSearchShowsNoPrompt) {
    SetText("a a");
    search_.dialogs.push_back(Fill("a", "a"));
    w_->pnkSearchReplaceClick();
    EXPECT_EQ(Editor().Lines().Text(), "a a");
    EXPECT_TRUE(search_.confirmTexts.isEmpty());
    EXPECT_EQ(search_.beeps, 0) << "matches were found";
    search_.dialogs.push_back(Fill("z", "z"));
    w_->pnkSearchReplaceClick();
    EXPECT_EQ(search_.beeps, 1);
}

TEST_F(SearchFlowTest, FindBackAtDocumentStartBeepsAndLeavesCaret) {
    SetText("ab ab");
    search_.dialogs.push_back(Fill("ab"));
    w_->pnkSearchFindClick();
    Editor().SetCaretPos(TBufferCoord{1, 1});
    w_->pnkSearchFindBackClick();
    EXPECT_EQ(search_.beeps, 1);
    EXPECT_EQ(Editor().CaretPos(), (TBufferCoord{1, 1}));
    EXPECT_FALSE(Editor().HasSelection());
}

TEST_F(SearchFlowTest, NotFoundCollapsesSelectionInTheDirection) {
    SetText("abc abc");
    Editor().SetSelection(TBufferCoord{2, 1}, TBufferCoord{4, 1});
    w_->pnkSearchFindNextClick();  // no text stored: only the beep and the collapse
    EXPECT_EQ(search_.beeps, 1);
    EXPECT_EQ(Editor().CaretPos(), (TBufferCoord{4, 1}));
    EXPECT_FALSE(Editor().HasSelection());
    Editor().SetSelection(TBufferCoord{2, 1}, TBufferCoord{4, 1});
    w_->pnkSearchFindBackClick();
    EXPECT_EQ(Editor().CaretPos(), (TBufferCoord{2, 1}));
}

TEST_F(SearchFlowTest, InvalidExpressionShowsItsMessage) {
    SetText("a(b");
    search_.dialogs.push_back(Fill("a(", "x", true));
    w_->pnkSearchReplaceClick();
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_TRUE(prompts_.errors[0].contains(QStringLiteral("Unmatched ()"))) << prompts_.errors[0].toStdString();
    EXPECT_EQ(Editor().Lines().Text(), "a(b");
    EXPECT_EQ(w_->SearchState().LastSearchText, "a(") << "kept for correcting it in the dialog";
    EXPECT_TRUE(search_.confirmTexts.isEmpty());
}

}  // namespace
}  // namespace pelm::test
