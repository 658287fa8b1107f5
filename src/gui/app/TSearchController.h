#pragma once
// Search and replace for the main window: what the dialogs remember between
// searches, the two search engines, the dialogs filled from and stored into
// that memory, the run through the editor's search-replace loop, and the
// replace prompt placed beside each match.
#include <string>

#include "core/document/SearchState.h"
#include "core/editor/TCodeEditTypes.h"
#include "core/search/TCodeEditRegexSearch.h"
#include "core/search/TCodeEditSearch.h"

class QWidget;

namespace pelm {

class TCodeEdit;
class TSearchPrompts;

class TSearchController {
public:
    // window: the dialogs' owner and the area the replace prompt keeps clear of.
    TSearchController(QWidget* window, TCodeEdit& editor) : window_(window), editor_(editor) {}
    TSearchController(const TSearchController&) = delete;
    TSearchController& operator=(const TSearchController&) = delete;

    void ShowSearchDialog(bool replace);
    void RunSearch(bool replace, bool backwards);
    void snEditorReplaceText(const std::string& ASearch, const std::string& AReplace, int Line, int Column,
                             TCodeReplaceAction& Action);

    // The dialogs, the replace prompt and the beep (nullptr: the real ones).
    void SetSearchPrompts(TSearchPrompts* prompts) { searchPrompts_ = prompts; }
    const TSearchState& SearchState() const { return searchState_; }
    bool ContinueFromCaret() const { return continueFromCaret_; }

private:
    TSearchPrompts& searchPrompts();

    QWidget* window_;
    TCodeEdit& editor_;
    TSearchState searchState_;
    bool continueFromCaret_ = false;
    TCodeEditSearch CodeEditSearch;
    TCodeEditRegexSearch CodeEditRegexSearch;
    TSearchPrompts* searchPrompts_ = nullptr;
};

}  // namespace pelm
