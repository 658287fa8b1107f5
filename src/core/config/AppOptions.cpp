#include "core/config/AppOptions.h"

#include "core/config/TIniFile.h"

#include <algorithm>

namespace pelm {

TAppOptions ReadAppOptions(const TIniFile& ini) {
    TAppOptions o;
    // Templates are read in the order HTML, XML, CSS, JavaScript, PHP, Perl.
    for (DocumentKind k : {DocumentKind::HTML, DocumentKind::XML, DocumentKind::CSS, DocumentKind::JavaScript,
                           DocumentKind::PHP, DocumentKind::Perl}) {
        const TKindTemplate& t = KindTemplate(k);
        o.TemplatePath[static_cast<int>(k)] = "Library/Templates/" + ini.IniRead("Templates", t.key, t.defaultFile);
    }
    o.RightEdge = std::clamp(ini.IniReadNumber("Editor", "Polosa", 80), 0, kMaxRightEdge);
    o.ActiveLineColor = static_cast<uint32_t>(ini.IniReadNumber("Colors", "ActiveLine", 14811135));
    o.ShowLineNumbers = ini.IniReadNumber("Editor", "ShowLineNumbers", 1) != 0;
    o.TabWidth = ini.IniReadNumber("Editor", "TabWidth", 8);
    o.WordWrap = ini.IniReadNumber("Editor", "WordWrap", 0) == 1;
    o.OpenHistory = std::clamp(ini.IniReadNumber("Editor", "OpenHistory", 4), 0, kMaxOpenHistory);
    o.Theme = ini.IniRead("Toolbars", "Theme", "Aluminum");
    o.Browser1Name = ini.IniRead("Browsers", "1_name", "Undefined");
    o.Browser2Name = ini.IniRead("Browsers", "2_name", "Undefined");
    ini.IniReadPairs("Autocorrect", o.Autocorrect);
    o.AutocorrectEnabled = ini.IniReadNumber("Editor", "Autocorrect", 1) == 1;
    o.UpperCaseTags = ini.IniReadNumber("Editor", "Case", 1) != 0;
    return o;
}

const std::vector<std::string>& ThemeNames() {
    static const std::vector<std::string> names = {
        "Aluminum", "Athen",    "Default", "Dream",   "Eos",      "Miranda", "Office2003", "OfficeK",
        "OfficeXP", "Relifer",  "Stripes", "Tristan", "Tristan2", "Whidbey", "Xito"};
    return names;
}

}  // namespace pelm
