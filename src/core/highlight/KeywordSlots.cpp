#include "core/highlight/KeywordSlots.h"

#include <algorithm>
#include <cstring>

namespace pelm {

TKeywordSlots::TKeywordSlots(int slotCount, TKeywordCompare compare, int missKind, int highKind,
                             const std::vector<Keyword>& keywords, const int* table)
    : slotCount_(static_cast<uint32_t>(slotCount)), compare_(compare), missKind_(missKind), highKind_(highKind),
      table_(table), slotStart_(static_cast<size_t>(slotCount) + 1, 0) {
    std::vector<Keyword> kept;
    for (const Keyword& k : keywords)
        if (k.hash < slotCount_) kept.push_back(k);
    // Ordered by slot; the first keyword given wins within a slot, as in the list.
    std::stable_sort(kept.begin(), kept.end(), [](const Keyword& a, const Keyword& b) { return a.hash < b.hash; });
    for (const Keyword& k : kept) {
        entries_.push_back(Entry{k.word.data(), static_cast<uint32_t>(k.word.size()), k.kind});
        ++slotStart_[k.hash + 1];
    }
    for (size_t i = 1; i < slotStart_.size(); ++i) slotStart_[i] += slotStart_[i - 1];
}

bool TKeywordSlots::equal(const char* a, const char* b, size_t n) const {
    switch (compare_) {
    case kcCaseSensitive: return std::memcmp(a, b, n) == 0;
    case kcIgnoreCase:
        for (size_t i = 0; i < n; ++i) {
            unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
            if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
            if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
            if (x != y) return false;
        }
        return true;
    case kcTableValue:
        for (size_t i = 0; i < n; ++i)
            if (table_[static_cast<unsigned char>(a[i])] != table_[static_cast<unsigned char>(b[i])]) return false;
        return true;
    }
    return false;
}

}  // namespace pelm
