#pragma once
// Scheme A keyword lookup in one flat block: the keywords of each hash slot
// lie next to each other, so a lookup is one slot index and a few length and
// byte comparisons without further indirection. It answers what
// TKeywordSchemeA answers for the same keywords, slot count, comparison and
// fallbacks; the keyword texts must outlive it (string literals).
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/highlight/KeywordSchemes.h"

namespace pelm {

class TKeywordSlots {
public:
    struct Keyword {
        std::string_view word;
        int kind;
        uint32_t hash;
    };

    // table (256 values) is needed only for kcTableValue and must outlive this.
    // Keywords whose hash is slotCount or more are left out: a lookup of such a
    // hash gives the high fallback.
    TKeywordSlots(int slotCount, TKeywordCompare compare, int missKind, int highKind,
                  const std::vector<Keyword>& keywords, const int* table = nullptr);

    int Lookup(std::string_view word, uint32_t hash) const {
        if (hash >= slotCount_) return highKind_;
        for (uint32_t i = slotStart_[hash], e = slotStart_[hash + 1]; i < e; ++i) {
            const Entry& k = entries_[i];
            // Byte for byte, the first bytes settle most mismatches without a call.
            if (k.length == word.size() && (compare_ != kcCaseSensitive || k.text[0] == word[0]) &&
                equal(k.text, word.data(), word.size()))
                return k.kind;
        }
        return missKind_;
    }

    int SlotCount() const { return static_cast<int>(slotCount_); }
    int KeywordCount() const { return static_cast<int>(entries_.size()); }

private:
    struct Entry {
        const char* text;
        uint32_t length;
        int kind;
    };
    bool equal(const char* a, const char* b, size_t n) const;

    uint32_t slotCount_;
    TKeywordCompare compare_;
    int missKind_;
    int highKind_;
    const int* table_;
    std::vector<uint32_t> slotStart_;  // slotCount_ + 1 offsets into entries_
    std::vector<Entry> entries_;       // ordered by slot, then as given
};

}  // namespace pelm
