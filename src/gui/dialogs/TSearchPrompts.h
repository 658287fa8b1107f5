#pragma once
// The modal parts of searching, behind one interface so that tests can answer
// them: the find and replace dialogs, the replace prompt and the beep when
// nothing is found.
#include "core/search/TCodeEditSearchCustom.h"

namespace pelm {

class TConfirmReplaceDialog;
class TTextSearchDialog;

class TSearchPrompts {
public:
    virtual ~TSearchPrompts() = default;
    // Shows the find or replace dialog modally; true when it closed with OK.
    virtual bool ExecuteSearchDialog(TTextSearchDialog& dialog) = 0;
    // Shows the placed replace prompt modally and returns the chosen action.
    virtual TCodeReplaceAction ExecuteConfirmDialog(TConfirmReplaceDialog& dialog) = 0;
    // The system's asterisk beep.
    virtual void Beep() = 0;
};

// The real thing: exec() and QApplication::beep().
class TQtSearchPrompts : public TSearchPrompts {
public:
    bool ExecuteSearchDialog(TTextSearchDialog& dialog) override;
    TCodeReplaceAction ExecuteConfirmDialog(TConfirmReplaceDialog& dialog) override;
    void Beep() override;
};

}  // namespace pelm
