#include "core/search/TCodeEditSearch.h"

#include "core/platform/Cp1251.h"
#include "core/platform/Errors.h"

namespace pelm {

TCodeEditSearch::TCodeEditSearch() {
    // Every byte that is not a letter or digit of the code page separates words,
    // except the underscore, which belongs to words as in identifiers.
    for (int c = 0; c < 256; ++c)
        delimiter_[c] = !cp1251::IsAlphaNumeric(static_cast<unsigned char>(c)) && c != '_';
    BuildTranslation();
}

void TCodeEditSearch::BuildTranslation() {
    for (int c = 0; c < 256; ++c)
        trans_[c] = sensitive_ ? static_cast<unsigned char>(c) : cp1251::ToLower(static_cast<unsigned char>(c));
}

void TCodeEditSearch::SetPattern(std::string_view s) {
    if (s != pattern_) {
        pattern_.assign(s.data(), s.size());
        patLen_ = static_cast<int>(pattern_.size());
        shiftInitialized_ = false;
    }
    count_ = 0;
}

void TCodeEditSearch::SetSearchOptions(SearchOptions options) {
    bool sensitive = (options & soMatchCase) != 0;
    if (sensitive != sensitive_) {
        sensitive_ = sensitive;
        BuildTranslation();
        shiftInitialized_ = false;
    }
    whole_ = (options & soWholeWord) != 0;
}

int TCodeEditSearch::MatchLength(int) const { return patLen_; }

int TCodeEditSearch::MatchPosition(int i) const {
    if (i < 0 || i >= static_cast<int>(results_.size())) return 0;
    return results_[static_cast<size_t>(i)];
}

void TCodeEditSearch::BuildShiftTable() {
    if (patLen_ == 0) throw EError("Pattern is empty");
    const auto* p = reinterpret_cast<const unsigned char*>(pattern_.data());
    shift_.fill(patLen_ + 1);
    for (int j = 1; j <= patLen_; ++j) shift_[trans_[p[j - 1]]] = patLen_ + 1 - j;
    // The step after a failed compare: the distance from the last pattern byte
    // back to its previous occurrence in the pattern.
    unsigned char last = trans_[p[patLen_ - 1]];
    lookAt_ = 1;
    while (lookAt_ < patLen_ && last != trans_[p[patLen_ - 1 - lookAt_]]) ++lookAt_;
    shiftInitialized_ = lookAt_ == patLen_;
    // The same tables indexed by the untranslated byte, for the scan.
    for (int c = 0; c < 256; ++c) {
        shiftByByte_[c] = shift_[trans_[c]];
        isLast_[c] = trans_[c] == last;
    }
}

bool TCodeEditSearch::IsWholeWord(const unsigned char* line, int len, int start) const {
    int after = start + patLen_;
    bool before = start == 0 || delimiter_[line[start - 1]];
    return before && (after >= len || delimiter_[line[after]]);
}

int TCodeEditSearch::FindAllInLine(std::string_view lineText) {
    if (!shiftInitialized_) BuildShiftTable();
    results_.clear();
    count_ = 0;
    const int len = static_cast<int>(lineText.size());
    if (len < patLen_) return 0;
    const auto* line = reinterpret_cast<const unsigned char*>(lineText.data());
    const auto* pat = reinterpret_cast<const unsigned char*>(pattern_.data());
    const unsigned char* tr = trans_.data();
    const int32_t* shift = shiftByByte_.data();
    const bool* isLast = isLast_.data();
    // run indexes the line byte under the pattern's last byte.
    int run = patLen_ - 1;
    while (run < len) {
        // Skip while the byte under the pattern's end cannot end a match; the
        // shift comes from the byte after it (a 0 past the line's end).
        while (run < len - 1 && !isLast[line[run]]) run += shift[line[run + 1]];
        if (run >= len) break;
        if (!isLast[line[run]]) {
            run += shift[0];
            continue;
        }
        int start = run - patLen_ + 1;
        int j = 0;
        while (j < patLen_ && tr[line[start + j]] == tr[pat[j]]) ++j;
        if (j == patLen_ && (!whole_ || IsWholeWord(line, len, start))) {
            results_.push_back(start + 1);
            run += patLen_;
            continue;
        }
        run += lookAt_;
        if (run >= len) break;
        run += shift[line[run]] - 1;
    }
    count_ = static_cast<int>(results_.size());
    return count_;
}

std::string TCodeEditSearch::ReplacementFor(std::string_view, std::string_view replaceText) {
    return std::string(replaceText);
}

std::string TCodeEditSearch::ReplacementForMatch(int, std::string_view replaceText) {
    return std::string(replaceText);
}

}  // namespace pelm
