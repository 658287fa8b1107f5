#pragma once
// The base of the language highlighters built on the kit: it makes the
// attributes from the language's tables, answers the kind's attribute, the
// roles, the word characters, the language name and the filter from them, and
// starts each line. A language adds its states and its scanning routines
// (NextToken over the scanning context).
#include <memory>
#include <vector>

#include "core/highlight/TCustomHighlighter.h"
#include "core/highlight/TLanguageSpec.h"

namespace pelm {

class TLanguageHighlighter : public TCustomHighlighter {
public:
    explicit TLanguageHighlighter(const TLanguageSpec& tables);

    const TLanguageSpec& Tables() const { return spec_; }
    // The attribute created from row i of the language's attribute table.
    THighlighterAttributes* Attribute(int i) const { return byRow_[static_cast<size_t>(i)]; }
    int TokenKindCount() const { return static_cast<int>(spec_.kinds.size()); }

    // The values the main window's configuration gives this highlighter,
    // applied as one configuration: subscribers hear of it once, at the end.
    virtual void ApplyMainWindowColours();

    THighlighterAttributes* RoleAttribute(int role) const override;
    TCharSet WordCharSet() const override { return spec_.wordChars; }
    std::string LanguageName() const override { return spec_.languageName; }
    bool IsFilterStored() const override { return DefaultFilter() != spec_.builtInFilter; }

    void StartLine(std::string_view text, int lineIndex) override {
        KeepLine(text, lineIndex);
        NextToken();
    }
    bool AtLineEnd() const override { return kind_ == spec_.endOfLineKind; }
    int TokenKind() const override { return kind_; }
    THighlighterAttributes* TokenAttribute() const override { return kindAttri_[static_cast<size_t>(kind_)]; }

private:
    const TLanguageSpec& spec_;
    std::vector<THighlighterAttributes*> byRow_;      // by attribute row
    std::vector<THighlighterAttributes*> kindAttri_;  // by kind
    THighlighterAttributes* roles_[6] = {};
};

}  // namespace pelm
