#pragma once
// The two keyword lookups the language highlighters build on.
//
// Scheme A: N slots keyed by the word's hash. The highlighter decides the word's
// extent and computes its hash; a word whose hash is N or more takes the
// "high" fallback kind even if it spells a keyword, a word whose slot holds no
// equal keyword takes the "miss" fallback kind.
//
// Scheme B: hash-entry chains built from one comma-separated keyword text; each
// chain is ordered by length, entries compared by character value; a word that
// matches nothing (or whose hash lies beyond the chains) takes the fallback kind.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/highlight/TCharSet.h"

namespace pelm {

enum TKeywordCompare : uint8_t {
    kcCaseSensitive,  // byte for byte
    kcIgnoreCase,     // ASCII letters compared without regard to case
    kcTableValue,     // bytes compared by their character value in the table
};

// Sum of table[c] over the bytes of word.
uint32_t TableHash(std::string_view word, const int* table);

// The letter values the HTML tag and the CSS property lookups share: A-Z and
// a-z 1 to 26 (letter case ignored), '!' 123, '/' 122, every other byte 0.
extern const std::array<int, 256> LetterValues;
// Sum of LetterValues over word, each digit counting its numeric value.
uint32_t LetterDigitHash(std::string_view word);
// The same with any table (for scheme B's hash function).
uint32_t LetterDigitHash(std::string_view word, const int* table);

class TKeywordSchemeA {
public:
    // table (256 values) is needed only for kcTableValue and must outlive the scheme.
    TKeywordSchemeA(int slotCount, TKeywordCompare compare, int missKind, int highKind,
                    const int* table = nullptr);

    // A keyword whose hash is slotCount or more is never found (lookups of that
    // hash take the high fallback), so it is not stored.
    void Add(std::string_view word, int kind, uint32_t hash);
    // Kind of word; hash is the highlighter's hash of it. Does not allocate.
    int Lookup(std::string_view word, uint32_t hash) const;

    int SlotCount() const { return static_cast<int>(slots_.size()); }
    int MissKind() const { return missKind_; }
    int HighKind() const { return highKind_; }
    int KeywordCount() const { return count_; }

private:
    struct Entry {
        std::string word;
        int kind;
    };
    bool equal(std::string_view a, std::string_view b) const;

    std::vector<std::vector<Entry>> slots_;
    TKeywordCompare compare_;
    int missKind_;
    int highKind_;
    const int* table_;
    int count_ = 0;
};

class TKeywordSchemeB {
public:
    using HashFunction = uint32_t (*)(std::string_view word, const int* table);

    // table: the 256 character values used by the hash and the comparison; it
    // must outlive the scheme.
    TKeywordSchemeB(const int* table, HashFunction hash, int fallbackKind);

    // Splits text into keywords (each maximal run of wordChars characters) and
    // adds each with kind. A keyword already in its chain, compared without
    // regard to case, raises EHighlighterError "Keyword "%s" already in list".
    void AddList(std::string_view text, const TCharSet& wordChars, int kind);
    void Add(std::string_view word, int kind);

    int Lookup(std::string_view word) const { return Lookup(word, hash_(word, table_)); }
    int Lookup(std::string_view word, uint32_t hash) const;

    int ChainCount() const { return static_cast<int>(chains_.size()); }
    int KeywordCount() const { return count_; }
    int FallbackKind() const { return fallbackKind_; }

private:
    struct Entry {
        std::string text;
        int kind;
    };

    std::vector<std::vector<Entry>> chains_;  // each ordered by length, shortest first
    const int* table_;
    HashFunction hash_;
    int fallbackKind_;
    int count_ = 0;
};

}  // namespace pelm
