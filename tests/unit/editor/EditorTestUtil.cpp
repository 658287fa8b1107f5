#include "EditorTestUtil.h"

#include <map>
#include <stdexcept>
#include <vector>

using namespace pelm;

namespace editortest {

void Load(TCustomCodeEdit& e, std::string_view marked) {
    std::vector<std::string> lines(1);
    TBufferCoord caret{1, 1}, open{0, 0}, close{0, 0};
    bool haveCaret = false;
    int virt = 0;
    for (char c : marked) {
        TBufferCoord here{static_cast<int>(lines.back().size()) + 1, static_cast<int>(lines.size())};
        if (c == '\n') lines.emplace_back();
        else if (c == '~') ++virt;
        else if (c == '|') { caret = here; caret.Column += virt; virt = 0; haveCaret = true; }
        else if (c == '[') { open = here; open.Column += virt; virt = 0; }
        else if (c == ']') { close = here; close.Column += virt; virt = 0; }
        else lines.back() += c;
    }
    e.Lines().Clear();
    for (auto& l : lines) e.Lines().Add(l);
    e.DiscardUndo();
    e.SetModified(false);
    if (!haveCaret) caret = open.Line ? close : TBufferCoord{1, 1};
    e.SetCaretPos(caret);
    if (open.Line) {
        TBufferCoord anchor = caret == open ? close : open;
        e.SetSelection(anchor, caret);
        if (!(e.CaretPos() == caret)) e.SetCaretPos(caret);  // virtual-space caret
    }
}

std::string Show(const TCustomCodeEdit& e) {
    const auto& l = e.Lines();
    bool sel = e.HasSelection();
    TBufferCoord b = e.SelBeginPos(), en = e.SelEndPos(), c = e.CaretPos();
    std::string out;
    int count = std::max(1, l.Count());
    for (int line = 1; line <= count; ++line) {
        if (line > 1) out += '\n';
        std::string s = l.Strings(line - 1);
        int last = static_cast<int>(s.size()) + 1;
        if (c.Line == line) last = std::max(last, c.Column);
        if (sel && b.Line == line) last = std::max(last, b.Column);
        if (sel && en.Line == line) last = std::max(last, en.Column);
        for (int col = 1; col <= last; ++col) {
            TBufferCoord p{col, line};
            if (sel && p == b) out += '[';
            if (p == c) out += '|';
            if (sel && p == en) out += ']';
            if (col <= static_cast<int>(s.size())) out += s[static_cast<size_t>(col - 1)];
            else if (col < last) out += '~';
        }
    }
    return out;
}

void Keys(TCustomCodeEdit& e, std::string_view steps) {
    static const std::map<std::string, TCodeEditorCommand> names = {
        {"Left", ecLeft}, {"Right", ecRight}, {"Up", ecUp}, {"Down", ecDown},
        {"WordLeft", ecWordLeft}, {"WordRight", ecWordRight}, {"Home", ecLineStart}, {"End", ecLineEnd},
        {"PgUp", ecPageUp}, {"PgDn", ecPageDown}, {"PageTop", ecPageTop}, {"PageBottom", ecPageBottom},
        {"Top", ecEditorTop}, {"Bottom", ecEditorBottom},
        {"S-Left", ecSelLeft}, {"S-Right", ecSelRight}, {"S-Up", ecSelUp}, {"S-Down", ecSelDown},
        {"S-WordLeft", ecSelWordLeft}, {"S-WordRight", ecSelWordRight}, {"S-Home", ecSelLineStart},
        {"S-End", ecSelLineEnd}, {"S-Top", ecSelEditorTop}, {"S-Bottom", ecSelEditorBottom},
        {"S-PgDn", ecSelPageDown}, {"S-PgUp", ecSelPageUp},
        {"SelectAll", ecSelectAll}, {"Copy", ecCopy}, {"Cut", ecCut}, {"Paste", ecPaste},
        {"Undo", ecUndo}, {"Redo", ecRedo}, {"Enter", ecLineBreak}, {"InsLine", ecInsertLine},
        {"Tab", ecTab}, {"STab", ecShiftTab}, {"BS", ecDeleteLastChar}, {"Del", ecDeleteChar},
        {"DelWord", ecDeleteWord}, {"DelLastWord", ecDeleteLastWord}, {"DelBOL", ecDeleteBOL},
        {"DelEOL", ecDeleteEOL}, {"DelLine", ecDeleteLine}, {"Indent", ecBlockIndent},
        {"Unindent", ecBlockUnindent}, {"Normal", ecNormalSelect}, {"ColumnMode", ecColumnSelect},
        {"LineMode", ecLineSelect}, {"Match", ecMatchBracket}, {"Ins", ecToggleMode},
        {"ScrollUp", ecScrollUp}, {"ScrollDown", ecScrollDown}, {"ClearAll", ecClearAll},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] == '{' && i + 1 < steps.size() && steps[i + 1] != '{') {
            size_t end = steps.find('}', i);
            std::string name(steps.substr(i + 1, end - i - 1));
            auto it = names.find(name);
            if (it == names.end()) throw std::runtime_error("unknown step " + name);
            e.PerformCommand(it->second);
            i = end;
        } else {
            if (steps[i] == '{') ++i;  // "{{" types a brace
            e.PerformCommand(ecChar, steps[i]);
        }
    }
}

std::string Apply(TCustomCodeEdit& e, std::string_view marked, std::string_view steps) {
    Load(e, marked);
    Keys(e, steps);
    return Show(e);
}

}  // namespace editortest
