// The main window's search: what the dialogs remember, the find and replace
// dialogs, the run through the editor's search-replace loop and the replace
// prompt placed beside each match.
#include "gui/app/TSearchController.h"

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <memory>

#include "gui/app/GuiText.h"
#include "gui/dialogs/TConfirmReplaceDialog.h"
#include "gui/dialogs/TSearchPrompts.h"
#include "gui/dialogs/TTextReplaceDialog.h"
#include "gui/editor/TCodeEdit.h"

namespace pelm {

namespace {

// Destroys the replace prompt when a search run ends, however it ends.
struct ConfirmDialogCleanup {
    ~ConfirmDialogCleanup() { delete ConfirmReplaceDialog.data(); }
};

}  // namespace

TSearchPrompts& TSearchController::searchPrompts() {
    static TQtSearchPrompts qtPrompts;
    return searchPrompts_ ? *searchPrompts_ : qtPrompts;
}

void TSearchController::ShowSearchDialog(bool replace) {
    TSearchPrompts& prompts = searchPrompts();
    std::unique_ptr<TTextSearchDialog> dialog;
    TTextReplaceDialog* replaceDialog = nullptr;
    if (replace) {
        auto d = std::make_unique<TTextReplaceDialog>(window_);
        replaceDialog = d.get();
        dialog = std::move(d);
    } else {
        dialog = std::make_unique<TTextSearchDialog>(window_);
    }

    TSearchState& s = searchState_;
    dialog->SetSearchBackwards(s.LastBackwards);
    dialog->SetSearchCaseSensitive(s.LastMatchCase);
    dialog->SetSearchFromCursor(s.LastFromCaret);
    dialog->SetSearchInSelection(s.LastSelectionOnly);
    dialog->SetSearchText(s.LastSearchText);
    dialog->SetSearchTextHistory(s.SearchHistory);
    if (replaceDialog) {
        replaceDialog->SetReplaceText(s.LastReplaceText);
        replaceDialog->SetReplaceTextHistory(s.ReplaceHistory);
    }
    dialog->SetSearchWholeWords(s.LastWholeWords);
    // The regular-expression box is left unchecked: it always opens so.

    if (!prompts.ExecuteSearchDialog(*dialog)) return;

    s.LastBackwards = dialog->SearchBackwards();
    s.LastMatchCase = dialog->SearchCaseSensitive();
    s.LastFromCaret = dialog->SearchFromCursor();
    s.LastSelectionOnly = dialog->SearchInSelection();
    s.LastWholeWords = dialog->SearchWholeWords();
    s.LastRegex = dialog->SearchRegularExpression();
    s.LastSearchText = dialog->SearchText();
    s.SearchHistory = dialog->SearchTextHistory();
    if (replaceDialog) {
        s.LastReplaceText = replaceDialog->ReplaceText();
        s.ReplaceHistory = replaceDialog->ReplaceTextHistory();
    }
    continueFromCaret_ = s.LastFromCaret;
    if (!s.LastSearchText.empty()) {
        RunSearch(replace, s.LastBackwards);
        // Later find-next searches go on from the caret.
        continueFromCaret_ = true;
    }
}

void TSearchController::RunSearch(bool replace, bool backwards) {
    ConfirmDialogCleanup cleanup;
    TSearchPrompts& prompts = searchPrompts();
    const TSearchState& s = searchState_;
    TSearchOptions options = 0;
    if (replace) options |= soReplace | soReplaceAll | soPrompt;
    if (backwards) options |= soBackwards;
    if (s.LastMatchCase) options |= soMatchCase;
    if (!continueFromCaret_) options |= soEntireScope;
    if (s.LastSelectionOnly) options |= soSelectedOnly;
    if (s.LastWholeWords) options |= soWholeWord;

    TCustomCodeEdit& editor = editor_.Model();
    if (s.LastRegex) editor.SetSearchEngine(&CodeEditRegexSearch);
    else editor.SetSearchEngine(&CodeEditSearch);
    editor.OnReplaceText = [this](const std::string& search, const std::string& replacement, int line, int column,
                                  TCodeReplaceAction& action) {
        snEditorReplaceText(search, replacement, line, column, action);
    };

    if (editor.FindAndReplace(s.LastSearchText, s.LastReplaceText, options) == 0) {
        prompts.Beep();
        // Nothing found: the selection collapses at its end in the direction of the search.
        TBufferCoord at = backwards ? editor.SelBeginPos() : editor.SelEndPos();
        editor.SetCaretPos(at);
    }
}

void TSearchController::snEditorReplaceText(const std::string& ASearch, const std::string& AReplace, int Line, int Column,
                                  TCodeReplaceAction& Action) {
    if (ASearch == AReplace) {
        Action = raSkip;
        return;
    }
    TSearchPrompts& prompts = searchPrompts();
    TCustomCodeEdit& editor = editor_.Model();
    const auto [x, y] = editor.CellToPixels(editor.TextToRowPos(TBufferCoord{Column, Line}));
    const QPoint match = editor_.viewport()->mapToGlobal(QPoint(x, y));
    const QRect area(window_->mapToGlobal(QPoint(0, 0)), window_->size());

    if (!ConfirmReplaceDialog) ConfirmReplaceDialog = new TConfirmReplaceDialog();
    ConfirmReplaceDialog->PlaceNear(area, match.x(), match.y(), match.y() + editor.RowPixelHeight(),
                                    FromCp1251(ASearch));
    Action = prompts.ExecuteConfirmDialog(*ConfirmReplaceDialog);
}

}  // namespace pelm
