#pragma once
// The plain search engine: a Boyer-Moore-Horspool scan over bytes translated by a
// case table, with an optional whole-word test.
#include <array>
#include <cstdint>
#include <vector>

#include "core/search/TCodeEditSearchCustom.h"

namespace pelm {

class TCodeEditSearch : public TCodeEditSearchCustom {
public:
    TCodeEditSearch();

    std::string Pattern() const override { return pattern_; }
    void SetPattern(std::string_view s) override;
    int MatchLength(int i) const override;
    int MatchPosition(int i) const override;
    int MatchCount() const override { return count_; }
    void SetSearchOptions(SearchOptions options) override;
    // Fails with "Pattern is empty" for an empty pattern.
    int FindAllInLine(std::string_view line) override;
    // The replacement text itself: a plain search has no substitution marks.
    std::string ReplacementFor(std::string_view foundText, std::string_view replaceText) override;
    std::string ReplacementForMatch(int i, std::string_view replaceText) override;

    // The list of 1-based match columns of the last FindAllInLine.
    const std::vector<int>& Positions() const { return results_; }

private:
    void BuildTranslation();
    void BuildShiftTable();
    bool IsWholeWord(const unsigned char* line, int len, int start) const;

    std::string pattern_;
    int patLen_ = 0;
    std::array<unsigned char, 256> trans_{};
    std::array<bool, 256> delimiter_{};
    std::array<int32_t, 256> shift_{};
    std::array<int32_t, 256> shiftByByte_{};
    std::array<bool, 256> isLast_{};
    int lookAt_ = 1;
    bool shiftInitialized_ = false;
    bool sensitive_ = false;
    bool whole_ = false;
    std::vector<int> results_;
    int count_ = 0;
};

}  // namespace pelm
