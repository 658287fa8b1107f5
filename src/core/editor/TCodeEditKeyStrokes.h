#pragma once
// The keystroke table: which key with which shift state runs which command.
#include <cstdint>
#include <vector>

#include "core/editor/TCodeEditTypes.h"
#include "core/editor/TCodeEditorCommand.h"
#include "core/platform/Errors.h"

namespace pelm {

// "Shortcut already exists".
class ECodeKeyError : public EError {
public:
    using EError::EError;
};

// A key with its shift state, packed as the key code in the low byte and the
// shift bits above it.
using TShortCut = uint16_t;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };

// Key codes of the keys the table names; letters and digits are their upper-case
// ASCII codes. The widget maps its own key codes onto these.
enum TEditKey : uint8_t {
    VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35,
    VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45,
    VK_DELETE = 46, VK_F1 = 112
};

TShortCut ShortCut(uint8_t key, TShiftState shift);

struct TCodeEditKeyStroke {
    TCodeEditorCommand Command = ecNone;
    TShortCut ShortCut = 0;
    TShortCut ShortCut2 = 0;  // second key of a two-key sequence; unused by the defaults
};

class TCodeEditKeyStrokes {
public:
    TCodeEditKeyStrokes() { ResetDefaults(); }

    // Adds an entry; raises ECodeKeyError when another entry has the same keys.
    void Add(TCodeEditorCommand command, uint8_t key, TShiftState shift);
    void Add(const TCodeEditKeyStroke& stroke);
    // Changes the keys of entry i, with the same check.
    void SetShortCut(int i, TShortCut shortCut, TShortCut shortCut2 = 0);
    // Removes the entry bound to the keys; false when there is none.
    bool Remove(uint8_t key, TShiftState shift);
    void Clear() { items_.clear(); }
    void ResetDefaults();

    // The command bound to a single key press, ecNone when there is none.
    TCodeEditorCommand FindKeycode(uint8_t key, TShiftState shift) const;
    int FindShortcut(TShortCut sc, TShortCut sc2 = 0) const;

    int Count() const { return static_cast<int>(items_.size()); }
    const TCodeEditKeyStroke& Items(int i) const { return items_[static_cast<size_t>(i)]; }

private:
    std::vector<TCodeEditKeyStroke> items_;
};

}  // namespace pelm
