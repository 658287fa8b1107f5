#pragma once
// The regular-expression search engine: every match of a TRegEngine expression in
// one line, and replacement templates with $n group references.
#include <vector>

#include "core/search/TCodeEditSearchCustom.h"
#include "core/search/TRegEngine.h"

namespace pelm {

class TCodeEditRegexSearch : public TCodeEditSearchCustom {
public:
    TCodeEditRegexSearch();

    std::string Pattern() const override { return engine_.ExpressionText(); }
    void SetPattern(std::string_view s) override;
    int MatchLength(int i) const override;
    int MatchPosition(int i) const override;
    int MatchCount() const override { return static_cast<int>(positions_.size()); }
    // Only soMatchCase is used: it switches the expression's "i" modifier off.
    void SetSearchOptions(SearchOptions options) override;
    // Fails with ERegEngine for an invalid expression or one too complex for the line.
    int FindAllInLine(std::string_view line) override;
    // Runs the expression on foundText alone and replaces its first match by the
    // filled template, keeping the rest of foundText.
    std::string ReplacementFor(std::string_view foundText, std::string_view replaceText) override;
    // Fills the template from the groups of the i-th match as found in its line.
    std::string ReplacementForMatch(int i, std::string_view replaceText) override;

    TRegEngine& Engine() { return engine_; }

private:
    TRegEngine engine_;
    std::vector<int> positions_;
    std::vector<int> lengths_;
    // Per match, start and length of groups 0..groupCount (as GroupStart/GroupLength).
    std::vector<int> spans_;
    int stride_ = 0;
    std::string line_;
};

}  // namespace pelm
