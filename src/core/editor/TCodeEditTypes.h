#pragma once
// Small value types shared by the editor model: positions, selection modes, the
// option set, status-change flags and the editor's error class.
#include <cstdint>

#include "core/platform/Errors.h"

namespace pelm {

// A position in the text: both fields 1-based, Column counts bytes (a tab is one).
struct TBufferCoord {
    int32_t Column = 1;
    int32_t Line = 1;
    friend bool operator==(const TBufferCoord&, const TBufferCoord&) = default;
};

inline bool operator<(const TBufferCoord& a, const TBufferCoord& b) {
    return a.Line < b.Line || (a.Line == b.Line && a.Column < b.Column);
}
inline bool operator<=(const TBufferCoord& a, const TBufferCoord& b) { return !(b < a); }
inline TBufferCoord BufferCoord(int column, int line) { return TBufferCoord{column, line}; }

// A position on the screen grid: Column counts cells of the tab-expanded line,
// Row counts display rows (a line, or one row of a wrapped line). Both 1-based.
struct TDisplayCoord {
    int32_t Column = 1;
    int32_t Row = 1;
    friend bool operator==(const TDisplayCoord&, const TDisplayCoord&) = default;
};

enum TSelectionMode : uint8_t { smNormal = 0, smLine = 1, smColumn = 2 };

enum TCodeEditorOption : uint8_t {
    eoAltSetsColumnMode, eoAutoIndent, eoAutoSizeMaxScrollWidth, eoDisableScrollArrows,
    eoDragDropEditing, eoDropFiles, eoEnhanceHomeKey, eoGroupUndo, eoHalfPageScroll,
    eoHideShowScrollbars, eoKeepCaretX, eoNoCaret, eoNoSelection, eoRightMouseMovesCursor,
    eoScrollByOneLess, eoScrollHintFollows, eoScrollPastEof, eoScrollPastEol, eoShowScrollHint,
    eoShowSpecialChars, eoSmartTabDelete, eoSmartTabs, eoSpecialLineDefaultFg, eoTabIndent,
    eoTabsToSpaces, eoTrimTrailingSpaces
};

// The option set as a bit mask, bit n for option n.
using TCodeEditorOptions = uint32_t;
constexpr TCodeEditorOptions OptionBit(TCodeEditorOption o) { return 1u << o; }
// The editor's default set, which the program never changes.
constexpr TCodeEditorOptions DefaultEditorOptions = 0x03360092;

enum TCaretType : uint8_t { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };

// Status changes collected while a command runs and reported once at its end.
using TStatusChanges = uint16_t;
enum : TStatusChanges {
    scCaretX = 1, scCaretY = 2, scLeftChar = 4, scTopLine = 8, scInsertMode = 16,
    scModified = 32, scSelection = 64, scReadOnly = 128, scAll = 255
};

// Shift state of a key or mouse event.
using TShiftState = uint8_t;
enum : TShiftState { ssShift = 1, ssAlt = 2, ssCtrl = 4 };

// Clipboard failures.
class ECodeEditError : public EError {
public:
    using EError::EError;
};

}  // namespace pelm
