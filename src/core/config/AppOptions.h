#pragma once
// The options that ApplyOptions pushes into the editor, the menus, the theme, the
// autocorrect list and the tag list, read from pelm.ini with their defaults and
// their own "on" tests (some switches are on when non-zero, others only at 1).
#include <cstdint>
#include <string>
#include <vector>

#include "core/document/DocumentKind.h"

namespace pelm {

class TIniFile;

// Bounds of the counts and sizes read from the settings file: a value beyond
// them would only hang or flood the program, never serve a real use. (The tab
// width is kept within 1..256 by the editor itself.)
constexpr int kMaxRightEdge = 9999;   // columns; 0 or less means no right-edge line
constexpr int kMaxOpenHistory = 35;   // entries the recent-files menu gives an access character

struct TAppOptions {
    std::string TemplatePath[kDocumentKindCount];  // by DocumentKind, "Library/Templates/" + name
    int RightEdge = 80;
    uint32_t ActiveLineColor = 14811135;  // 0x00BBGGRR
    bool ShowLineNumbers = true;
    int TabWidth = 8;  // as stored; the editor keeps it within 1..256
    bool WordWrap = false;
    int OpenHistory = 4;  // within 0..kMaxOpenHistory
    std::string Theme = "Aluminum";
    std::string Browser1Name = "Undefined";
    std::string Browser2Name = "Undefined";
    std::vector<std::string> Autocorrect;  // "word=correction" pairs in file order
    bool AutocorrectEnabled = true;
    bool UpperCaseTags = true;
};

// Reads every option with its default; the right edge and the history length
// are brought within their bounds above.
TAppOptions ReadAppOptions(const TIniFile& ini);

// The menu item of an external browser is shown only when it has a name:
// exactly "Undefined" (case counts) means none.
inline bool BrowserNamed(const std::string& caption) { return caption != "Undefined"; }

// The fifteen theme names, in list order.
const std::vector<std::string>& ThemeNames();

}  // namespace pelm
