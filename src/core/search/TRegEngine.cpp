// Construction, settings, match results and the error messages of TRegEngine.
#include "core/search/TRegEngine.h"

#include <memory>
#include <string>

#include "core/search/TRegEngineImpl.h"

namespace pelm {

using namespace regengine;

namespace {

constexpr int kModBits[7] = {0, modI, modR, modS, modG, modM, modX};

}  // namespace

TRegEngine::TRegEngine() : modifiers_(modR | modS | modG), matcher_(std::make_unique<Matcher>()) {
    for (unsigned char c : {32, 9, 10, 13, 12}) blankSet_[c] = true;
    for (int c = 0; c < 256; ++c)
        wordSet_[c] = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    lineBreakSet_['\r'] = lineBreakSet_['\n'] = true;
    lineBreakPair_ = "\r\n";
    groups_.fill(-1);
}

TRegEngine::~TRegEngine() = default;

std::string TRegEngine::ErrorMessage(int code) {
    switch (code) {
        case 0: return "No errors";
        case 100: return "TRegEngine(comp): Null Argument";
        case 102: return "TRegEngine(comp): ParseReg Too Many ()";
        case 103: case 104: return "TRegEngine(comp): ParseReg Unmatched ()";
        case 105: return "TRegEngine(comp): ParseReg Junk On End";
        case 106: return "TRegEngine(comp): *+ Operand Could Be Empty";
        case 107: return "TRegEngine(comp): Nested *?+";
        case 108: return "TRegEngine(comp): Bad Hex Digit";
        case 109: return "TRegEngine(comp): Invalid [] Range";
        case 110: return "TRegEngine(comp): Parse Atom Trailing \\";
        case 111: return "TRegEngine(comp): No Hex Code After \\x";
        case 112: return "TRegEngine(comp): Hex Code After \\x Is Too Big";
        case 113: return "TRegEngine(comp): Unmatched []";
        case 114: return "TRegEngine(comp): Internal Urp";
        case 115: return "TRegEngine(comp): ?+*{ Follows Nothing";
        case 116: return "TRegEngine(comp): Trailing \\";
        case 119: return "TRegEngine(comp): RarseAtom Internal Disaster";
        case 122: return "TRegEngine(comp): BRACES Argument Too Big";
        case 124: return "TRegEngine(comp): BRACE Min Param Greater then Max";
        case 125: return "TRegEngine(comp): Unclosed (?#Comment)";
        case 127: return "TRegEngine(comp): Urecognized Modifier";
        case 128: return "TRegEngine(comp): LinePairedSeparator must countain two different chars or no chars at all";
        case 1000: return "TRegEngine(exec): RegRepeat Called Inappropriately";
        case 1001: return "TRegEngine(exec): MatchPrim Memory Corruption";
        case 1002: return "TRegEngine(exec): MatchPrim Corrupted Pointers";
        case 1003: return "TRegEngine(exec): Not Assigned Expression Property";
        case 1004: return "TRegEngine(exec): Corrupted Program";
        case 1005: return "TRegEngine(exec): No Input String Specified";
        case 1006: return "TRegEngine(exec): Offset Must Be Greater Then 0";
        case 1007: return "TRegEngine(exec): ExecNext Without Exec[Pos]";
        case 1014: return "TRegEngine(exec): Loop Stack Exceeded";
        case 1015: return "TRegEngine(exec): Loop Without LoopEntry !";
        case reTooComplex: return "TRegEngine(exec): Expression Is Too Complex For This Line";
        default: return "Unknown error";
    }
}

void TRegEngine::Raise(int code, int offset) const {
    lastError_ = code;
    std::string msg = ErrorMessage(code);
    if (code < 1000) {
        msg += " (pos " + std::to_string(offset) + ")";
        throw ERegEngine(msg, code, offset);
    }
    throw ERegEngine(msg, code, 0);
}

void TRegEngine::SetExpressionText(std::string_view s) {
    if (hasExpression_ && program_ && s == expression_) return;
    expression_.assign(s.data(), s.size());
    hasExpression_ = true;
    program_.reset();
}

void TRegEngine::SetModifier(int index, bool on) {
    if (index < 1 || index > 6) Raise(reBadModifierIndex);
    int bit = kModBits[index];
    int mods = on ? (modifiers_ | bit) : (modifiers_ & ~bit);
    if (mods != modifiers_) {
        modifiers_ = mods;
        program_.reset();
    }
}

bool TRegEngine::GetModifier(int index) const {
    if (index < 1 || index > 6) Raise(reBadModifierIndex);
    return (modifiers_ & kModBits[index]) != 0;
}

namespace {
void FillTable(CharTable& t, std::string_view chars) {
    t.fill(false);
    for (char c : chars) t[static_cast<unsigned char>(c)] = true;
}
}  // namespace

void TRegEngine::SetBlankSet(std::string_view chars) {
    FillTable(blankSet_, chars);
    program_.reset();
}
void TRegEngine::SetWordSet(std::string_view chars) {
    FillTable(wordSet_, chars);
    program_.reset();
}
void TRegEngine::SetLineBreakSet(std::string_view chars) {
    FillTable(lineBreakSet_, chars);
    program_.reset();
}
void TRegEngine::SetLineBreakPair(std::string_view pair) {
    lineBreakPair_.assign(pair.data(), pair.size());
    program_.reset();
}

int TRegEngine::GroupCount() const { return program_ ? program_->groupCount : 0; }

int TRegEngine::GroupStart(int n) const {
    if (n < 0 || n > kMaxGroup || !hasInput_) return -1;
    int s = groups_[static_cast<size_t>(2 * n)];
    return s < 0 ? -1 : s + 1;
}

int TRegEngine::GroupLength(int n) const {
    if (n < 0 || n > kMaxGroup || !hasInput_) return -1;
    int s = groups_[static_cast<size_t>(2 * n)], e = groups_[static_cast<size_t>(2 * n + 1)];
    return s < 0 ? -1 : e - s;
}

std::string TRegEngine::Group(int n) const {
    int s = GroupStart(n);
    if (s < 0) return {};
    return input_.substr(static_cast<size_t>(s - 1), static_cast<size_t>(GroupLength(n)));
}

}  // namespace pelm
