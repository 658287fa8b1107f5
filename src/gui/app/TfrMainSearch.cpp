// The main window's search commands, forwarded to its search controller.
#include "gui/app/Commands.h"
#include "gui/app/TSearchController.h"
#include "gui/app/TfrMain.h"

namespace pelm {

void TfrMain::pnkSearchFindClick() {
    run([&] { ShowSearchDialog(false); });
}

void TfrMain::pnkSearchReplaceClick() {
    run([&] { ShowSearchDialog(true); });
}

void TfrMain::pnkSearchFindNextClick() {
    run([&] { RunSearch(false, false); });
}

void TfrMain::pnkSearchFindBackClick() {
    run([&] { RunSearch(false, true); });
}

void TfrMain::ShowSearchDialog(bool replace) { search_->ShowSearchDialog(replace); }

void TfrMain::RunSearch(bool replace, bool backwards) { search_->RunSearch(replace, backwards); }

void TfrMain::snEditorReplaceText(const std::string& ASearch, const std::string& AReplace, int Line, int Column,
                                  TCodeReplaceAction& Action) {
    search_->snEditorReplaceText(ASearch, AReplace, Line, Column, Action);
}

void TfrMain::SetSearchPrompts(TSearchPrompts* prompts) { search_->SetSearchPrompts(prompts); }

const TSearchState& TfrMain::SearchState() const { return search_->SearchState(); }

bool TfrMain::ContinueFromCaret() const { return search_->ContinueFromCaret(); }

}  // namespace pelm
