#pragma once
// Qt key events in the terms of the editor's keystroke table: a key code (the
// table's codes: letters and digits as upper-case ASCII) and a shift state.
// Letters are taken by their Latin meaning, so that Ctrl+C is Ctrl+C whatever
// keyboard layout is active (the key carrying "С" in the Russian layout).
#include <QKeyEvent>
#include <QKeySequence>
#include <cstdint>

#include "core/editor/TCodeEditTypes.h"

namespace pelm {

struct TEditKeyPress {
    uint8_t key = 0;  // 0: no key of the table
    TShiftState shift = 0;
};

// The Latin letter key of a Cyrillic letter of the ЙЦУКЕН layout (upper or
// lower case), or 0.
int LatinKeyOfCyrillic(char32_t c);

TEditKeyPress EditKeyOf(const QKeyEvent& event);
// The same press as a Qt key combination with a layout-independent key, to
// compare with menu shortcuts.
QKeyCombination LatinCombinationOf(const QKeyEvent& event);

}  // namespace pelm
