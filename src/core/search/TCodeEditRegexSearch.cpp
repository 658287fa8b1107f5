#include "core/search/TCodeEditRegexSearch.h"

namespace pelm {

TCodeEditRegexSearch::TCodeEditRegexSearch() {
    // A new engine ignores case, like the plain one.
    engine_.SetModifier(TRegEngine::modIndexI, true);
}

void TCodeEditRegexSearch::SetPattern(std::string_view s) {
    engine_.SetExpressionText(s);
    positions_.clear();
    lengths_.clear();
    spans_.clear();
}

void TCodeEditRegexSearch::SetSearchOptions(SearchOptions options) {
    engine_.SetModifier(TRegEngine::modIndexI, (options & soMatchCase) == 0);
}

int TCodeEditRegexSearch::MatchLength(int i) const {
    if (i < 0 || i >= static_cast<int>(lengths_.size())) return 0;
    return lengths_[static_cast<size_t>(i)];
}

int TCodeEditRegexSearch::MatchPosition(int i) const {
    if (i < 0 || i >= static_cast<int>(positions_.size())) return 0;
    return positions_[static_cast<size_t>(i)];
}

int TCodeEditRegexSearch::FindAllInLine(std::string_view line) {
    positions_.clear();
    lengths_.clear();
    spans_.clear();
    line_.assign(line.data(), line.size());
    bool found = engine_.RunOn(line);
    stride_ = 2 * (engine_.GroupCount() + 1);
    while (found) {
        positions_.push_back(engine_.GroupStart(0));
        lengths_.push_back(engine_.GroupLength(0));
        for (int g = 0; g <= engine_.GroupCount(); ++g) {
            spans_.push_back(engine_.GroupStart(g));
            spans_.push_back(engine_.GroupLength(g));
        }
        found = engine_.RunNext();
    }
    return static_cast<int>(positions_.size());
}

std::string TCodeEditRegexSearch::ReplacementFor(std::string_view foundText, std::string_view replaceText) {
    if (!engine_.RunOn(foundText)) return std::string(foundText);
    size_t start = static_cast<size_t>(engine_.GroupStart(0) - 1);
    size_t len = static_cast<size_t>(engine_.GroupLength(0));
    std::string out(foundText.substr(0, start));
    out += engine_.FillTemplate(replaceText);
    out.append(foundText.substr(start + len));
    return out;
}

std::string TCodeEditRegexSearch::ReplacementForMatch(int i, std::string_view replaceText) {
    if (i < 0 || i >= static_cast<int>(positions_.size())) return std::string(replaceText);
    const int* span = spans_.data() + static_cast<size_t>(i) * static_cast<size_t>(stride_);
    return TRegEngine::FillTemplateFrom(replaceText, line_, span, stride_ / 2);
}

}  // namespace pelm
