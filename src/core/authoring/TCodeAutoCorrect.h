#pragma once
// Autocorrect: replaces misspelt words by their corrections from a list of
// pairs while the user types, and corrects the line the caret was on when a
// mouse button goes down in the editor.
//
// The component watches one editor through two of its hooks: a command hook
// (before each command: a word finished by a blank, punctuation, Enter or Tab
// is looked up) and a mouse-down handler (the previous caret line is searched
// for every listed word). Both replacements go through the editor's selection
// text, so each one is a single undoable step.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/editor/TCustomCodeEdit.h"

namespace pelm {

enum TAutoCorrectOption : uint8_t {
    ascoCorrectOnMouseDown = 1,
    ascoIgnoreCase = 2,
    ascoMaintainCase = 4,
};
using TAutoCorrectOptions = uint8_t;

class TCustomCodeAutoCorrect {
public:
    // Asked before each replacement; setting cancel skips it. line and column
    // (1-based) give where the wrong word starts.
    using TAutoCorrectEvent = std::function<void(const std::string& wrong, const std::string& correction, int line,
                                                 int column, bool& cancel)>;

    TCustomCodeAutoCorrect();
    virtual ~TCustomCodeAutoCorrect();
    TCustomCodeAutoCorrect(const TCustomCodeAutoCorrect&) = delete;
    TCustomCodeAutoCorrect& operator=(const TCustomCodeAutoCorrect&) = delete;

    TCustomCodeEdit* Editor() const { return editor_; }
    // Registers the hooks in the editor (nullptr: none), removing them from the
    // editor watched before. The owner detaches before destroying the editor.
    void SetEditor(TCustomCodeEdit* editor);

    bool Enabled = true;
    // The pairs, wrong word and correction joined by ItemSepChar; the first
    // pair that applies wins.
    std::vector<std::string> Items;
    char ItemSepChar = '\t';
    TAutoCorrectOptions Options = ascoIgnoreCase | ascoMaintainCase;
    TAutoCorrectEvent OnAutoCorrect;
    std::function<void()> OnCorrected;

    // 1-based line of the caret when the editor last processed a command, -1
    // before the first one.
    int PreviousLine() const { return previousLine_; }

    // ---- the rules, public for tests
    // Splits an item at the last separator; without one it is all wrong word.
    void SplitItem(std::string_view item, std::string& wrong, std::string& correction) const;
    // Letters and digits of the code page from 33 up.
    bool IsWordChar(unsigned char c) const { return wordChars_[c]; }
    // 0-based position of the first whole-word occurrence of word in text at or
    // after from, or -1. Words are separated by the codes 0 to 32 only.
    int FindWholeWord(std::string_view text, std::string_view word, size_t from) const;
    // The correction in the case of the matched text (with ascoMaintainCase).
    std::string AdaptCase(std::string_view matched, std::string_view correction) const;
    // Replaces every whole-word occurrence of the items' first applicable word
    // in line; true when something was replaced.
    bool CorrectText(std::string& line, int lineNumber);

    // The two passes; normally run by the hooks.
    void BeforeCommand(TCodeEditorCommand command, char ch);
    void MouseDown();

private:
    bool correctAtCaret(const std::string& token, std::string_view wrong, std::string_view correction);
    bool ask(const std::string& wrong, const std::string& correction, int line, int column) const;
    // Replaces the line's text as one undoable step; the caret and the
    // selection stay where they are.
    void replaceLine(int line, const std::string& text);

    TCustomCodeEdit* editor_ = nullptr;
    int commandHook_ = 0;
    int mouseHook_ = 0;
    int previousLine_ = -1;
    bool wordChars_[256] = {};
};

// The component as the main window uses it.
class TCodeAutoCorrect : public TCustomCodeAutoCorrect {};

}  // namespace pelm
