#include "core/authoring/TCodeAutoCorrect.h"

#include <algorithm>

#include "core/platform/Cp1251.h"

namespace pelm {

namespace {

bool IsDelimiter(unsigned char c) { return c <= 32; }

// The Latin letters in lower case, then the first character, when it is a
// Latin letter, in upper case. Other letters keep their case.
std::string FirstCapital(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (!r.empty() && r[0] >= 'a' && r[0] <= 'z') r[0] = static_cast<char>(r[0] - 'a' + 'A');
    return r;
}

}  // namespace

TCustomCodeAutoCorrect::TCustomCodeAutoCorrect() {
    for (int c = 33; c < 256; ++c) wordChars_[c] = cp1251::IsAlphaNumeric(static_cast<unsigned char>(c));
}

TCustomCodeAutoCorrect::~TCustomCodeAutoCorrect() { SetEditor(nullptr); }

void TCustomCodeAutoCorrect::SetEditor(TCustomCodeEdit* editor) {
    if (editor == editor_) return;
    if (editor_) {
        editor_->UnregisterCommandHandler(commandHook_);
        editor_->RemoveHandler(mouseHook_);
        commandHook_ = mouseHook_ = 0;
    }
    editor_ = editor;
    if (!editor_) return;
    commandHook_ = editor_->RegisterCommandHandler(
        [this](bool after, bool& handled, TCodeEditorCommand& command, char& ch, void*, void*) {
            if (!after && !handled) BeforeCommand(command, ch);
        },
        this);
    mouseHook_ = editor_->AddMouseDownHandler([this](TBufferCoord, TShiftState, bool&) { MouseDown(); });
}

void TCustomCodeAutoCorrect::SplitItem(std::string_view item, std::string& wrong, std::string& correction) const {
    const size_t sep = item.rfind(ItemSepChar);
    if (sep == std::string_view::npos) {
        wrong.assign(item);
        correction.clear();
    } else {
        wrong.assign(item.substr(0, sep));
        correction.assign(item.substr(sep + 1));
    }
}

int TCustomCodeAutoCorrect::FindWholeWord(std::string_view text, std::string_view word, size_t from) const {
    if (word.empty()) return -1;
    const bool ignoreCase = Options & ascoIgnoreCase;
    const std::string key = ignoreCase ? cp1251::UpperCase(word) : std::string(word);
    size_t i = from;
    const size_t n = text.size();
    while (i < n) {
        while (i < n && IsDelimiter(static_cast<unsigned char>(text[i]))) ++i;
        if (i >= n) break;
        // A try at this word start.
        if (n - i >= key.size()) {
            bool same = true;
            for (size_t k = 0; k < key.size() && same; ++k) {
                unsigned char c = static_cast<unsigned char>(text[i + k]);
                if (ignoreCase) c = cp1251::ToUpper(c);
                same = c == static_cast<unsigned char>(key[k]);
            }
            const size_t after = i + key.size();
            if (same && (after == n || IsDelimiter(static_cast<unsigned char>(text[after]))))
                return static_cast<int>(i);
        }
        while (i < n && !IsDelimiter(static_cast<unsigned char>(text[i]))) ++i;
    }
    return -1;
}

std::string TCustomCodeAutoCorrect::AdaptCase(std::string_view matched, std::string_view correction) const {
    if (!(Options & ascoMaintainCase)) return std::string(correction);
    if (matched == cp1251::UpperCase(matched)) return cp1251::UpperCase(correction);
    if (matched == cp1251::LowerCase(matched)) return cp1251::LowerCase(correction);
    if (matched == FirstCapital(matched)) return FirstCapital(correction);
    return std::string(correction);
}

bool TCustomCodeAutoCorrect::ask(const std::string& wrong, const std::string& correction, int line,
                                 int column) const {
    bool cancel = false;
    if (OnAutoCorrect) OnAutoCorrect(wrong, correction, line, column, cancel);
    return !cancel;
}

void TCustomCodeAutoCorrect::BeforeCommand(TCodeEditorCommand command, char ch) {
    if (!Enabled || !editor_) return;
    TCustomCodeEdit& e = *editor_;
    const TBufferCoord caret = e.CaretPos();
    previousLine_ = caret.Line;
    if (command != ecLineBreak && command != ecTab && command != ecChar) return;
    if (command == ecChar && IsWordChar(static_cast<unsigned char>(ch))) return;

    // The token: the characters above 32 immediately left of the caret.
    if (caret.Line < 1 || caret.Line > e.Lines().Count()) return;
    const std::string_view line = e.LineText(caret.Line);
    const int end = caret.Column - 1;
    if (end < 1 || end > static_cast<int>(line.size())) return;
    int start = end;
    while (start > 0 && static_cast<unsigned char>(line[static_cast<size_t>(start - 1)]) > 32) --start;
    const std::string token(line.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
    if (token.empty()) return;

    std::string wrong, correction;
    for (const std::string& item : Items) {
        SplitItem(item, wrong, correction);
        if (correctAtCaret(token, wrong, correction)) {
            if (OnCorrected) OnCorrected();
            return;
        }
    }
}

bool TCustomCodeAutoCorrect::correctAtCaret(const std::string& token, std::string_view wrong,
                                            std::string_view correction) {
    TCustomCodeEdit& e = *editor_;
    if (e.ReadOnly()) return false;
    const int at = FindWholeWord(token, wrong, 0);
    if (at < 0) return false;
    const std::string matched = token.substr(static_cast<size_t>(at), wrong.size());
    const std::string text = AdaptCase(matched, correction);
    const TBufferCoord caret = e.CaretPos();
    const TBufferCoord begin{caret.Column - static_cast<int>(wrong.size()), caret.Line};
    if (!ask(std::string(wrong), text, begin.Line, begin.Column)) return false;

    // The selection over the word, replaced in stream mode whatever mode the
    // user has chosen: a line or column selection would take more than the word.
    e.LockPainting();
    const TSelectionMode mode = e.SelectionMode();
    e.SetSelectionMode(smNormal);
    e.SetSelBeginPos(begin);
    e.SetSelEndPos(caret);
    e.SetSelectedText(text);
    e.SetSelectionMode(mode);
    e.UnlockPainting();
    return true;
}

bool TCustomCodeAutoCorrect::CorrectText(std::string& line, int lineNumber) {
    std::string wrong, correction;
    for (const std::string& item : Items) {
        SplitItem(item, wrong, correction);
        bool corrected = false;
        size_t from = 0;
        for (;;) {
            const int at = FindWholeWord(line, wrong, from);
            if (at < 0) break;
            const size_t pos = static_cast<size_t>(at);
            const std::string text = AdaptCase(std::string_view(line).substr(pos, wrong.size()), correction);
            if (!ask(wrong, text, lineNumber, at + 1)) {
                from = pos + wrong.size();
                continue;
            }
            line.replace(pos, wrong.size(), text);
            // Go on after the inserted correction, so that a correction holding
            // its own wrong word cannot make the pass run on without end.
            from = pos + text.size();
            corrected = true;
        }
        if (corrected) return true;
    }
    return false;
}

void TCustomCodeAutoCorrect::MouseDown() {
    if (!(Options & ascoCorrectOnMouseDown) || !Enabled || !editor_ || previousLine_ < 1) return;
    TCustomCodeEdit& e = *editor_;
    // The line may have gone without an editor command in between.
    if (e.ReadOnly() || previousLine_ > e.Lines().Count()) return;
    std::string line(e.LineText(previousLine_));
    if (!CorrectText(line, previousLine_)) return;
    replaceLine(previousLine_, line);
    if (OnCorrected) OnCorrected();
}

void TCustomCodeAutoCorrect::replaceLine(int line, const std::string& text) {
    TCustomCodeEdit& e = *editor_;
    const std::string old(e.LineText(line));
    // Only the span that differs is replaced, so the record is as small as the
    // change and everything around it keeps its place.
    size_t prefix = 0;
    const size_t shorter = std::min(old.size(), text.size());
    while (prefix < shorter && old[prefix] == text[prefix]) ++prefix;
    size_t suffix = 0;
    while (suffix < shorter - prefix && old[old.size() - 1 - suffix] == text[text.size() - 1 - suffix]) ++suffix;

    const TBufferCoord caret = e.CaretPos();
    const TBufferCoord anchor = e.AnchorPos();
    const TBufferCoord active = e.ActivePos();
    const bool hadSelection = e.HasSelection();
    const TSelectionMode mode = e.SelectionMode();
    e.LockPainting();
    e.SetSelectionMode(smNormal);
    e.SetSelection(TBufferCoord{static_cast<int>(prefix) + 1, line},
                   TBufferCoord{static_cast<int>(old.size() - suffix) + 1, line});
    e.SetSelectedText(std::string_view(text).substr(prefix, text.size() - suffix - prefix));
    e.SetSelectionMode(mode);
    if (hadSelection)
        e.SetSelection(anchor, active);
    else
        e.SetCaretPos(caret);
    e.UnlockPainting();
}

}  // namespace pelm
