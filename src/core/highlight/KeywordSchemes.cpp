#include "core/highlight/KeywordSchemes.h"

#include "core/highlight/TCustomHighlighter.h"

namespace pelm {

namespace {

unsigned char asciiUpper(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }

bool equalIgnoreCase(std::string_view a, std::string_view b) {
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiUpper(static_cast<unsigned char>(a[i])) != asciiUpper(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

bool equalByTable(std::string_view a, std::string_view b, const int* table) {
    for (size_t i = 0; i < a.size(); ++i)
        if (table[static_cast<unsigned char>(a[i])] != table[static_cast<unsigned char>(b[i])]) return false;
    return true;
}

}  // namespace

uint32_t TableHash(std::string_view word, const int* table) {
    uint32_t h = 0;
    for (char c : word) h += static_cast<uint32_t>(table[static_cast<unsigned char>(c)]);
    return h;
}

namespace {
constexpr std::array<int, 256> makeLetterValues() {
    std::array<int, 256> v{};
    for (int c = 'A'; c <= 'Z'; ++c) v[static_cast<size_t>(c)] = c - 'A' + 1;
    for (int c = 'a'; c <= 'z'; ++c) v[static_cast<size_t>(c)] = c - 'a' + 1;
    v['!'] = 123;
    v['/'] = 122;
    return v;
}
}  // namespace

constexpr std::array<int, 256> LetterValues = makeLetterValues();

uint32_t LetterDigitHash(std::string_view word, const int* table) {
    uint32_t h = 0;
    for (char ch : word) {
        unsigned char c = static_cast<unsigned char>(ch);
        h += (c >= '0' && c <= '9') ? static_cast<uint32_t>(c - '0') : static_cast<uint32_t>(table[c]);
    }
    return h;
}

uint32_t LetterDigitHash(std::string_view word) { return LetterDigitHash(word, LetterValues.data()); }

TKeywordSchemeA::TKeywordSchemeA(int slotCount, TKeywordCompare compare, int missKind, int highKind,
                                 const int* table)
    : slots_(static_cast<size_t>(slotCount)), compare_(compare), missKind_(missKind), highKind_(highKind),
      table_(table) {}

void TKeywordSchemeA::Add(std::string_view word, int kind, uint32_t hash) {
    if (hash >= slots_.size()) return;
    slots_[hash].push_back(Entry{std::string(word), kind});
    ++count_;
}

bool TKeywordSchemeA::equal(std::string_view a, std::string_view b) const {
    switch (compare_) {
    case kcCaseSensitive: return a == b;
    case kcIgnoreCase: return equalIgnoreCase(a, b);
    case kcTableValue: return equalByTable(a, b, table_);
    }
    return false;
}

int TKeywordSchemeA::Lookup(std::string_view word, uint32_t hash) const {
    if (hash >= slots_.size()) return highKind_;
    for (const Entry& e : slots_[hash])
        if (e.word.size() == word.size() && equal(e.word, word)) return e.kind;
    return missKind_;
}

TKeywordSchemeB::TKeywordSchemeB(const int* table, HashFunction hash, int fallbackKind)
    : table_(table), hash_(hash), fallbackKind_(fallbackKind) {}

void TKeywordSchemeB::AddList(std::string_view text, const TCharSet& wordChars, int kind) {
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && !wordChars.Contains(static_cast<unsigned char>(text[i]))) ++i;
        size_t start = i;
        while (i < text.size() && wordChars.Contains(static_cast<unsigned char>(text[i]))) ++i;
        if (i > start) Add(text.substr(start, i - start), kind);
    }
}

void TKeywordSchemeB::Add(std::string_view word, int kind) {
    uint32_t h = hash_(word, table_);
    if (h >= chains_.size()) chains_.resize(h + 1);
    std::vector<Entry>& chain = chains_[h];
    size_t at = 0;
    for (const Entry& e : chain) {
        if (e.text.size() == word.size() && equalIgnoreCase(e.text, word))
            throw EHighlighterError(Format("Keyword \"%.*s\" already in list", static_cast<int>(word.size()), word.data()));
    }
    while (at < chain.size() && chain[at].text.size() <= word.size()) ++at;
    chain.insert(chain.begin() + static_cast<std::ptrdiff_t>(at), Entry{std::string(word), kind});
    ++count_;
}

int TKeywordSchemeB::Lookup(std::string_view word, uint32_t hash) const {
    if (hash >= chains_.size()) return fallbackKind_;
    for (const Entry& e : chains_[hash]) {
        if (e.text.size() < word.size()) continue;
        if (e.text.size() > word.size()) break;
        if (equalByTable(e.text, word, table_)) return e.kind;
    }
    return fallbackKind_;
}

}  // namespace pelm
