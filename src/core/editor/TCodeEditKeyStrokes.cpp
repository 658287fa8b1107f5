#include "core/editor/TCodeEditKeyStrokes.h"

namespace pelm {

TShortCut ShortCut(uint8_t key, TShiftState shift) {
    TShortCut s = key;
    if (shift & ssShift) s |= scShift;
    if (shift & ssCtrl) s |= scCtrl;
    if (shift & ssAlt) s |= scAlt;
    return s;
}

int TCodeEditKeyStrokes::FindShortcut(TShortCut sc, TShortCut sc2) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].ShortCut == sc && items_[i].ShortCut2 == sc2) return static_cast<int>(i);
    return -1;
}

void TCodeEditKeyStrokes::Add(const TCodeEditKeyStroke& stroke) {
    if (FindShortcut(stroke.ShortCut, stroke.ShortCut2) >= 0) throw ECodeKeyError("Shortcut already exists");
    items_.push_back(stroke);
}

void TCodeEditKeyStrokes::Add(TCodeEditorCommand command, uint8_t key, TShiftState shift) {
    Add(TCodeEditKeyStroke{command, ShortCut(key, shift), 0});
}

void TCodeEditKeyStrokes::SetShortCut(int i, TShortCut shortCut, TShortCut shortCut2) {
    int other = FindShortcut(shortCut, shortCut2);
    if (other >= 0 && other != i) throw ECodeKeyError("Shortcut already exists");
    items_.at(static_cast<size_t>(i)).ShortCut = shortCut;
    items_.at(static_cast<size_t>(i)).ShortCut2 = shortCut2;
}

bool TCodeEditKeyStrokes::Remove(uint8_t key, TShiftState shift) {
    int i = FindShortcut(ShortCut(key, shift));
    if (i < 0) return false;
    items_.erase(items_.begin() + i);
    return true;
}

TCodeEditorCommand TCodeEditKeyStrokes::FindKeycode(uint8_t key, TShiftState shift) const {
    int i = FindShortcut(ShortCut(key, shift));
    return i < 0 ? TCodeEditorCommand(ecNone) : items_[static_cast<size_t>(i)].Command;
}

void TCodeEditKeyStrokes::ResetDefaults() {
    items_.clear();
    const TShiftState S = ssShift, C = ssCtrl, A = ssAlt, CS = ssCtrl | ssShift, SA = ssShift | ssAlt;
    struct Row { TCodeEditorCommand cmd; uint8_t key; TShiftState shift; };
    static const Row rows[] = {
        {ecUp, VK_UP, 0}, {ecSelUp, VK_UP, S}, {ecScrollUp, VK_UP, C},
        {ecDown, VK_DOWN, 0}, {ecSelDown, VK_DOWN, S}, {ecScrollDown, VK_DOWN, C},
        {ecLeft, VK_LEFT, 0}, {ecSelLeft, VK_LEFT, S}, {ecWordLeft, VK_LEFT, C},
        {ecSelWordLeft, VK_LEFT, CS}, {ecRight, VK_RIGHT, 0}, {ecSelRight, VK_RIGHT, S},
        {ecWordRight, VK_RIGHT, C}, {ecSelWordRight, VK_RIGHT, CS},
        {ecPageDown, VK_NEXT, 0}, {ecSelPageDown, VK_NEXT, S}, {ecPageBottom, VK_NEXT, C},
        {ecSelPageBottom, VK_NEXT, CS}, {ecPageUp, VK_PRIOR, 0}, {ecSelPageUp, VK_PRIOR, S},
        {ecPageTop, VK_PRIOR, C}, {ecSelPageTop, VK_PRIOR, CS},
        {ecLineStart, VK_HOME, 0}, {ecSelLineStart, VK_HOME, S}, {ecEditorTop, VK_HOME, C},
        {ecSelEditorTop, VK_HOME, CS}, {ecLineEnd, VK_END, 0}, {ecSelLineEnd, VK_END, S},
        {ecEditorBottom, VK_END, C}, {ecSelEditorBottom, VK_END, CS},
        {ecToggleMode, VK_INSERT, 0}, {ecCopy, VK_INSERT, C}, {ecCut, VK_DELETE, S},
        {ecPaste, VK_INSERT, S}, {ecDeleteChar, VK_DELETE, 0}, {ecDeleteLastChar, VK_BACK, 0},
        {ecDeleteLastChar, VK_BACK, S}, {ecDeleteLastWord, VK_BACK, C}, {ecUndo, VK_BACK, A},
        {ecRedo, VK_BACK, SA},
        {ecLineBreak, VK_RETURN, 0}, {ecLineBreak, VK_RETURN, S},
        {ecTab, VK_TAB, 0}, {ecShiftTab, VK_TAB, S}, {ecContextHelp, VK_F1, 0},
        {ecSelectAll, 'A', C}, {ecCopy, 'C', C}, {ecPaste, 'V', C}, {ecCut, 'X', C},
        {ecBlockIndent, 'I', CS}, {ecBlockUnindent, 'U', CS}, {ecLineBreak, 'M', C},
        {ecInsertLine, 'N', C}, {ecDeleteWord, 'T', C}, {ecDeleteLine, 'Y', C},
        {ecDeleteEOL, 'Y', CS}, {ecUndo, 'Z', C}, {ecRedo, 'Z', CS},
    };
    for (const Row& r : rows) Add(r.cmd, r.key, r.shift);
    for (int d = 0; d <= 9; ++d)
        Add(static_cast<TCodeEditorCommand>(ecGotoMarker0 + d), static_cast<uint8_t>('0' + d), C);
    for (int d = 0; d <= 9; ++d)
        Add(static_cast<TCodeEditorCommand>(ecSetMarker0 + d), static_cast<uint8_t>('0' + d), CS);
    Add(ecNormalSelect, 'N', CS);
    Add(ecColumnSelect, 'C', CS);
    Add(ecLineSelect, 'L', CS);
    Add(ecMatchBracket, 'B', CS);
}

}  // namespace pelm
