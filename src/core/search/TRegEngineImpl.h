#pragma once
// The insides of TRegEngine shared by its source files: the modifier bits and case
// tables, the compiled program, which TRegEngineParse.cpp and TRegEngineCompile.cpp
// build, and the matcher, which TRegEngineMatch.cpp runs on it. Only TRegEngine's
// own source files include this header, and the tests that compare its two ways
// of matching.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/platform/Cp1251.h"
#include "core/search/TRegEngine.h"

namespace pelm {

namespace regengine {

// Modifier bits.
constexpr int modI = 1, modR = 2, modS = 4, modG = 8, modM = 16, modX = 32;

using CharTable = std::array<bool, 256>;

// The code page's case mapping as two tables, for the hot loops.
struct Fold {
    unsigned char lower[256];
    unsigned char upper[256];
    Fold() {
        for (int c = 0; c < 256; ++c) {
            lower[c] = cp1251::ToLower(static_cast<unsigned char>(c));
            upper[c] = cp1251::ToUpper(static_cast<unsigned char>(c));
        }
    }
};
inline const Fold& Folds() {
    static const Fold f;
    return f;
}

// ---------------------------------------------------------------- program

enum Op : uint8_t {
    opChar, opChar2, opSet, opAny, opAnyNL, opStr,
    opBol, opBolM, opEol, opEolM, opWordB, opNWordB,
    opSave, opSplit, opJmp, opRep, opBackref, opCntInit, opCntLoop, opDepthFail, opMatch
};

struct Inst {
    Op op = opMatch;
    uint8_t atom = 0;  // opRep: the repeated single-character op
    uint8_t c1 = 0, c2 = 0;  // opCntLoop: c1 set when the loop guards against empty iterations
    bool greedy = false;  // opRep/opCntLoop; opBackref: ignore case
    int32_t x = 0;        // opSplit: preferred target; opJmp: target; opStr: offset; opSave: slot;
                          // opSet/opRep: set index; opBackref: group; opCnt*: counter
    int32_t y = 0;        // opSplit: other target; opStr: length; opCntLoop: exit
    int32_t min = 0, max = 0;
    int32_t join = -1;    // index of this state in the failure memory
    bool pure = true;     // the outcome from here depends on the position alone
};

// ---------------------------------------------------------------- backtracking stack

enum FrameKind : int32_t {
    frResume, frSave, frMark, frRepGreedy, frRepLazy, frCount, frCountResume, frIter, frCountIter
};

struct Frame {
    int32_t kind, pc, pos, a, b;
};

}  // namespace regengine

struct TRegEngine::Program {
    std::vector<regengine::Inst> code;
    std::vector<regengine::CharTable> sets;
    std::string strings;
    int groupCount = 0;
    int counters = 0;
    int joins = 0;
    bool hasBackrefs = false;
    bool allPure = true;  // every state can be remembered
    bool anchored = false;
    bool useFirst = false;
    int firstSingle = -1;
    regengine::CharTable first{};
    std::string required;
    long long minLength = 0;  // no match is shorter
    // Without back references, counters and loops that match nothing, a match can
    // also be found from a table of which states succeed (TRegEngineVerdict.cpp):
    // the instructions in the order that table fills them, empty when it cannot.
    std::vector<int> verdictOrder;
    std::vector<int> repAfter;  // per instruction: index of its next-position table, -1 none
    int repTables = 0;
    regengine::CharTable lineBreak{};
    regengine::CharTable word{};
    int pairHead = -1, pairTail = -1;
};

namespace regengine {
// Fills the program's verdictOrder and repAfter when the verdict table can answer it.
void PrepareVerdict(TRegEngine::Program& prog);
// The backtracking depth at which a program the verdict table can answer switches
// to it. Tests and the fuzz target set it to 0 to compare the two ways.
size_t& VerdictDepth();
// The steps one input may take over all searches on it; the fuzz target lowers it.
long long& StepBudget();
}  // namespace regengine

// The matcher's state for one input. Its functions are defined in
// TRegEngineMatch.cpp, which alone calls them; the ones declared inline are the
// small steps of the matching loop, kept inline there.
struct TRegEngine::Matcher {
    const Program* prog = nullptr;
    const unsigned char* s = nullptr;
    int len = 0;
    std::vector<regengine::Frame> stack;
    std::vector<int> caps;
    std::vector<int> counters;
    std::vector<int> iterStart;  // per counted loop: where its current iteration began
    std::vector<uint64_t> memo;
    size_t rowWords = 0;
    bool memoOn = false;
    bool memoReady = false;
    long long budget = 0;
    size_t stackLimit = 0;
    bool verdictOn = false;  // the verdict table can answer this program on this input
    // The verdict table: bit (pos * code size + pc) tells whether the program
    // matches from instruction pc at pos, for every pos from verdictFrom on
    // (-1: not built). nextOk[t][pos] is the first position from pos on where
    // the instruction after a single-character repeat succeeds.
    std::vector<uint64_t> verdict;
    std::vector<std::vector<int>> nextOk;
    std::vector<int> runs;  // per repeat: its atom's run at verdictFrom
    int verdictFrom = -1;
    int requiredAt = -2;  // position of the required literal found last, -1 none, -2 unknown
    // Per single-character repeat (by instruction): the last run of its atom
    // [runStart, runEnd], and, with the failure memory on, the positions
    // [failLo, failHi] where its continuation is known to fail.
    struct RepState {
        unsigned generation = 0;  // the input these values belong to
        int runStart = -1, runEnd = -1;
        int failLo = 1, failHi = 0;
    };
    std::vector<RepState> reps;
    unsigned generation = 0;

    inline RepState& Rep(int pc);
    inline void NewInput(const Program& p, const unsigned char* text, int n);
    inline void PrepareMemo();

    inline bool AnyNL(int pos) const;
    inline bool IsWord(int pos) const;
    inline bool LineStart(int pos) const;
    inline bool LineEnd(int pos) const;
    inline int CountAtoms(const regengine::Inst& in, int pos, int lim) const;
    inline int RunLength(int pc, const regengine::Inst& in, int pos, int lim);
    static inline void NoteFailed(RepState& rs, int lo, int hi);
    inline void Push(int32_t kind, int32_t pc, int32_t pos, int32_t a = 0, int32_t b = 0);

    [[noreturn]] void TooComplex(const TRegEngine& e);
    // Kept inline in the matching loop: it runs after every failed step.
    [[gnu::always_inline]] inline bool Backtrack(int& pc, int& pos);
    // Run's outcomes: no match, a match, or the backtracking stack grew too deep
    // for a program the verdict table can answer.
    enum { kNoMatch, kMatch, kTooDeep };
    int Run(const TRegEngine& e, int start, int& end);

    bool VerdictFits() const;
    void BuildVerdict(const TRegEngine& e, int from);
    bool Succeeds(int pc, int pos) const;
    void Walk(const TRegEngine& e, int start, int& end);
};

// The small tests of the matching loop, shared with the verdict table.
inline bool TRegEngine::Matcher::AnyNL(int pos) const {
    unsigned char c = s[pos];
    if (prog->lineBreak[c]) return false;
    return !(c == prog->pairHead && pos + 1 < len && s[pos + 1] == prog->pairTail);
}

inline bool TRegEngine::Matcher::IsWord(int pos) const { return pos >= 0 && pos < len && prog->word[s[pos]]; }

// A line separator is a member of the line-break set or the two-character pair,
// which counts as one: no line starts or ends between its head and its tail.
inline bool TRegEngine::Matcher::LineStart(int pos) const {
    if (pos == 0) return true;
    int p = s[pos - 1];
    if (p == prog->pairTail && pos >= 2 && s[pos - 2] == prog->pairHead) return true;
    if (p == prog->pairHead && pos < len && s[pos] == prog->pairTail) return false;
    return prog->lineBreak[static_cast<size_t>(p)];
}

inline bool TRegEngine::Matcher::LineEnd(int pos) const {
    if (pos == len) return true;
    int c = s[pos];
    if (c == prog->pairHead && pos + 1 < len && s[pos + 1] == prog->pairTail) return true;
    if (c == prog->pairTail && pos > 0 && s[pos - 1] == prog->pairHead) return false;
    return prog->lineBreak[static_cast<size_t>(c)];
}

// Count of single-character atoms matching from pos, at most lim.
inline int TRegEngine::Matcher::CountAtoms(const regengine::Inst& in, int pos, int lim) const {
    int n = 0;
    const unsigned char* p = s + pos;
    switch (in.atom) {
        case regengine::opChar: while (n < lim && p[n] == in.c1) ++n; break;
        case regengine::opChar2: while (n < lim && (p[n] == in.c1 || p[n] == in.c2)) ++n; break;
        case regengine::opSet: {
            const regengine::CharTable& t = prog->sets[in.x];
            while (n < lim && t[p[n]]) ++n;
            break;
        }
        case regengine::opAny: n = lim; break;
        case regengine::opAnyNL: while (n < lim && AnyNL(pos + n)) ++n; break;
        default: break;
    }
    return n;
}

}  // namespace pelm
