#include "core/highlight/TLanguageHighlighter.h"

namespace pelm {

TLanguageHighlighter::TLanguageHighlighter(const TLanguageSpec& tables) : spec_(tables) {
    for (const TAttributeSpec& a : tables.attributes) {
        THighlighterAttributes* attr = AddAttribute(a.name);
        attr->SetForeground(a.foreground);
        attr->SetBackground(a.background);
        attr->SetStyle(a.style);
        byRow_.push_back(attr);
    }
    for (const TKindSpec& k : tables.kinds) {
        THighlighterAttributes* attr = k.attribute == kNoAttribute ? nullptr : byRow_.at(static_cast<size_t>(k.attribute));
        kindAttri_.push_back(attr);
        if (k.role >= 0 && k.role < static_cast<int>(std::size(roles_))) {
            if (roles_[k.role] && roles_[k.role] != attr)
                throw EHighlighterError(Format("Role %d given to two attributes", k.role));
            roles_[k.role] = attr;
        }
    }
    kind_ = tables.endOfLineKind;
    SetDefaultFilter(tables.builtInFilter);
    FinishConstruction();
}

THighlighterAttributes* TLanguageHighlighter::RoleAttribute(int role) const {
    if (role < 0 || role >= static_cast<int>(std::size(roles_))) return nullptr;
    return roles_[role];
}

void TLanguageHighlighter::ApplyMainWindowColours() {
    BeginConfiguration();
    for (const TAttributeOverride& o : spec_.mainWindowOverrides) {
        THighlighterAttributes* a = Attribute(o.attribute);
        if (o.foreground) a->SetForeground(*o.foreground);
        if (o.background) a->SetBackground(*o.background);
        if (o.style) a->SetStyle(*o.style);
    }
    SetDefaultFilter(spec_.builtInFilter);
    ConfigurationFinished();
}

}  // namespace pelm
