// The matcher: a backtracking run of the compiled program over the input, with
// its failure memory and budgets, and the search that tries it at each start.
#include "core/search/TRegEngine.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/search/TRegEngineImpl.h"

namespace pelm {

using namespace regengine;

namespace {

// Failure memory larger than this (bits) is not allocated; the step budget applies.
constexpr size_t kMaxMemoBits = size_t(256) << 20;
// The backtracking stack may not outgrow this many frames (20 bytes each).
constexpr size_t kMaxFrames = size_t(1) << 22;
constexpr long long kBaseBudget = 20000000;
constexpr long long kBudgetPerByte = 200;
constexpr long long kBudgetPerByteMemo = 2000;
// Capture slots: start and end of groups 0..14, then the start of each open group.
constexpr int kOpenSlot = 2 * (TRegEngine::kMaxGroup + 1);
constexpr int kCapSlots = kOpenSlot + TRegEngine::kMaxGroup + 1;

}  // namespace

TRegEngine::Matcher::RepState& TRegEngine::Matcher::Rep(int pc) {
    RepState& rs = reps[static_cast<size_t>(pc)];
    if (rs.generation != generation) {
        rs = RepState{};
        rs.generation = generation;
    }
    return rs;
}

void TRegEngine::Matcher::NewInput(const Program& p, const unsigned char* text, int n) {
    prog = &p;
    s = text;
    len = n;
    memoReady = false;
    requiredAt = -2;
    caps.assign(kCapSlots, -1);
    counters.assign(static_cast<size_t>(p.counters), 0);
    // Repeat states are stamped with the input's generation instead of being
    // cleared for every line.
    if (reps.size() != p.code.size() || ++generation == 0) {
        reps.assign(p.code.size(), RepState{});
        generation = 1;
    }
    size_t bits = static_cast<size_t>(p.joins) * (static_cast<size_t>(n) + 1);
    memoOn = p.joins > 0 && bits <= kMaxMemoBits;
}

void TRegEngine::Matcher::PrepareMemo() {
    if (memoReady) return;
    memoReady = true;
    if (!memoOn) return;
    rowWords = (static_cast<size_t>(len) + 1 + 63) / 64;
    memo.assign(rowWords * static_cast<size_t>(prog->joins), 0);
}

bool TRegEngine::Matcher::AnyNL(int pos) const {
    unsigned char c = s[pos];
    if (prog->lineBreak[c]) return false;
    return !(c == prog->pairHead && pos + 1 < len && s[pos + 1] == prog->pairTail);
}

bool TRegEngine::Matcher::IsWord(int pos) const { return pos >= 0 && pos < len && prog->word[s[pos]]; }

// A line separator is a member of the line-break set or the two-character pair,
// which counts as one: no line starts or ends between its head and its tail.
bool TRegEngine::Matcher::LineStart(int pos) const {
    if (pos == 0) return true;
    int p = s[pos - 1];
    if (p == prog->pairTail && pos >= 2 && s[pos - 2] == prog->pairHead) return true;
    if (p == prog->pairHead && pos < len && s[pos] == prog->pairTail) return false;
    return prog->lineBreak[static_cast<size_t>(p)];
}

bool TRegEngine::Matcher::LineEnd(int pos) const {
    if (pos == len) return true;
    int c = s[pos];
    if (c == prog->pairHead && pos + 1 < len && s[pos + 1] == prog->pairTail) return true;
    if (c == prog->pairTail && pos > 0 && s[pos - 1] == prog->pairHead) return false;
    return prog->lineBreak[static_cast<size_t>(c)];
}

// Count of single-character atoms matching from pos, at most lim.
int TRegEngine::Matcher::CountAtoms(const Inst& in, int pos, int lim) const {
    int n = 0;
    const unsigned char* p = s + pos;
    switch (in.atom) {
        case opChar: while (n < lim && p[n] == in.c1) ++n; break;
        case opChar2: while (n < lim && (p[n] == in.c1 || p[n] == in.c2)) ++n; break;
        case opSet: {
            const CharTable& t = prog->sets[in.x];
            while (n < lim && t[p[n]]) ++n;
            break;
        }
        case opAny: n = lim; break;
        case opAnyNL: while (n < lim && AnyNL(pos + n)) ++n; break;
        default: break;
    }
    return n;
}

// Number of atoms of a single-character repeat matching from pos, at most lim.
// For an unbounded repeat the run is remembered, so entering it again inside
// the run, or just before it, costs nothing or only the bytes before it.
int TRegEngine::Matcher::RunLength(int pc, const Inst& in, int pos, int lim) {
    if (in.max >= 0) {
        int n = CountAtoms(in, pos, lim);
        budget -= n;
        return n;
    }
    RepState& rs = Rep(pc);
    if (pos >= rs.runStart && pos <= rs.runEnd) return rs.runEnd - pos;
    int n;
    if (pos < rs.runStart) {
        int gap = rs.runStart - pos;
        n = CountAtoms(in, pos, gap);
        budget -= n;
        if (n == gap) {
            rs.runStart = pos;
            return rs.runEnd - pos;
        }
    } else {
        n = CountAtoms(in, pos, lim);
        budget -= n;
    }
    rs.runStart = pos;
    rs.runEnd = pos + n;
    return n;
}

// Continuation positions lo..hi of a repeat are known to fail.
void TRegEngine::Matcher::NoteFailed(RepState& rs, int lo, int hi) {
    if (hi >= rs.failLo - 1 && lo <= rs.failHi + 1) {
        rs.failLo = std::min(lo, rs.failLo);
        rs.failHi = std::max(hi, rs.failHi);
    } else {
        rs.failLo = lo;
        rs.failHi = hi;
    }
}

void TRegEngine::Matcher::Push(int32_t kind, int32_t pc, int32_t pos, int32_t a, int32_t b) {
    stack.push_back(Frame{kind, pc, pos, a, b});
}

// Pops frames until one resumes matching; false when none is left.
bool TRegEngine::Matcher::Backtrack(int& pc, int& pos) {
    const Inst* code = prog->code.data();
    while (!stack.empty()) {
        Frame f = stack.back();
        stack.pop_back();
        switch (f.kind) {
            case frResume:
                pc = f.pc;
                pos = f.pos;
                return true;
            case frSave: caps[static_cast<size_t>(f.a)] = f.b; break;
            case frMark:
                memo[static_cast<size_t>(f.a) * rowWords + (static_cast<size_t>(f.pos) >> 6)] |=
                    uint64_t(1) << (f.pos & 63);
                break;
            case frRepGreedy:
            case frRepLazy: {
                // f.a: the count to try now; f.b: the length of the run.
                const Inst& in = code[f.pc];
                const Inst& next = code[f.pc + 1];
                RepState& rs = Rep(f.pc);
                const bool greedy = f.kind == frRepGreedy;
                const int step = greedy ? -1 : 1;
                int k = f.a;
                for (;;) {
                    if (k < in.min || k > f.b) break;
                    int at = f.pos + k;
                    if (memoOn && in.pure && at >= rs.failLo && at <= rs.failHi) {
                        k = (greedy ? rs.failLo - 1 : rs.failHi + 1) - f.pos;
                        continue;
                    }
                    if (next.op == opChar && (at >= len || s[at] != next.c1)) {
                        k += step;
                        --budget;
                        continue;
                    }
                    break;
                }
                if (k < in.min || k > f.b) {
                    // Every continuation of this run failed; remember the span.
                    if (memoOn && in.pure) NoteFailed(rs, f.pos + in.min, f.pos + f.b);
                    break;
                }
                Push(f.kind, f.pc, f.pos, k + step, f.b);
                pc = f.pc + 1;
                pos = f.pos + k;
                return true;
            }
            case frCount: counters[static_cast<size_t>(f.a)] = f.b; break;
            case frCountResume:
                counters[static_cast<size_t>(f.a)] = f.b;
                pc = f.pc;
                pos = f.pos;
                return true;
            default: break;
        }
    }
    return false;
}

void TRegEngine::Matcher::TooComplex(const TRegEngine& e) {
    stack.clear();
    e.Raise(TRegEngine::reTooComplex);
}

bool TRegEngine::Matcher::Run(const TRegEngine& e, int start, int& end) {
    const Program& p = *prog;
    const Inst* code = p.code.data();
    stack.clear();
    for (int k = 2; k < 2 * (p.groupCount + 1); ++k) caps[static_cast<size_t>(k)] = -1;
    for (int g = 1; g <= p.groupCount; ++g) caps[static_cast<size_t>(kOpenSlot + g)] = -1;
    int pc = 0, pos = start;
    for (;;) {
        const Inst& in = code[pc];
        if (--budget < 0 || stack.size() > kMaxFrames) TooComplex(e);
        if (in.join >= 0 && memoOn) {
            size_t w = static_cast<size_t>(in.join) * rowWords + (static_cast<size_t>(pos) >> 6);
            uint64_t bit = uint64_t(1) << (pos & 63);
            if (memo[w] & bit) {
                if (!Backtrack(pc, pos)) return false;
                continue;
            }
            Push(frMark, pc, pos, in.join);
        }
        bool ok = true;
        switch (in.op) {
            case opChar:
                ok = pos < len && s[pos] == in.c1;
                ++pos;
                ++pc;
                break;
            case opChar2:
                ok = pos < len && (s[pos] == in.c1 || s[pos] == in.c2);
                ++pos;
                ++pc;
                break;
            case opSet:
                ok = pos < len && p.sets[static_cast<size_t>(in.x)][s[pos]];
                ++pos;
                ++pc;
                break;
            case opAny:
                ok = pos < len;
                ++pos;
                ++pc;
                break;
            case opAnyNL:
                ok = pos < len && AnyNL(pos);
                ++pos;
                ++pc;
                break;
            case opStr:
                ok = pos + in.y <= len && std::memcmp(s + pos, p.strings.data() + in.x, static_cast<size_t>(in.y)) == 0;
                pos += in.y;
                ++pc;
                break;
            case opBol: ok = pos == 0; ++pc; break;
            case opBolM: ok = LineStart(pos); ++pc; break;
            case opEol: ok = pos == len; ++pc; break;
            case opEolM: ok = LineEnd(pos); ++pc; break;
            case opWordB: ok = IsWord(pos - 1) != IsWord(pos); ++pc; break;
            case opNWordB: ok = IsWord(pos - 1) == IsWord(pos); ++pc; break;
            case opSave: {
                // A group's start waits in its open slot until the group closes, so
                // that a back reference inside the group, as in (a|b\1)+, still
                // sees the group's last complete capture.
                const int g = in.x >> 1;
                const size_t open = static_cast<size_t>(kOpenSlot + g);
                if (in.x & 1) {
                    const size_t st = static_cast<size_t>(in.x - 1), en = static_cast<size_t>(in.x);
                    Push(frSave, 0, 0, in.x - 1, caps[st]);
                    Push(frSave, 0, 0, in.x, caps[en]);
                    caps[st] = caps[open];
                    caps[en] = pos;
                } else {
                    Push(frSave, 0, 0, kOpenSlot + g, caps[open]);
                    caps[open] = pos;
                }
                ++pc;
                break;
            }
            case opSplit:
                Push(frResume, in.y, pos);
                pc = in.x;
                break;
            case opJmp: pc = in.x; break;
            case opRep: {
                int room = len - pos;
                int lim = in.max >= 0 && in.max < room ? in.max : room;
                int n = RunLength(pc, in, pos, lim);
                if (n < in.min) {
                    ok = false;
                    break;
                }
                // The frame just pushed resumes with the first count to try.
                Push(in.greedy ? frRepGreedy : frRepLazy, pc, pos, in.greedy ? n : in.min, n);
                ok = false;
                break;
            }
            case opBackref: {
                int g = in.x;
                int bs = caps[static_cast<size_t>(2 * g)], be = caps[static_cast<size_t>(2 * g + 1)];
                if (g > p.groupCount || bs < 0 || be < 0) {
                    ok = false;
                    break;
                }
                int n = be - bs;
                if (n < 0 || pos + n > len) {
                    ok = false;
                    break;
                }
                if (in.greedy) {
                    const Fold& f = Folds();
                    for (int k = 0; k < n && ok; ++k) {
                        unsigned char a = s[bs + k], b = s[pos + k];
                        ok = a == b || f.lower[a] == f.lower[b] || f.upper[a] == f.upper[b];
                    }
                } else {
                    ok = std::memcmp(s + bs, s + pos, static_cast<size_t>(n)) == 0;
                }
                pos += n;
                ++pc;
                break;
            }
            case opCntInit:
                Push(frCount, 0, 0, in.x, counters[static_cast<size_t>(in.x)]);
                counters[static_cast<size_t>(in.x)] = 0;
                ++pc;
                break;
            case opCntLoop: {
                int c = counters[static_cast<size_t>(in.x)];
                if (c < in.min) {
                    Push(frCount, 0, 0, in.x, c);
                    counters[static_cast<size_t>(in.x)] = c + 1;
                    ++pc;
                } else if (in.max >= 0 && c >= in.max) {
                    pc = in.y;
                } else if (in.greedy) {
                    Push(frCountResume, in.y, pos, in.x, c);
                    counters[static_cast<size_t>(in.x)] = c + 1;
                    ++pc;
                } else {
                    Push(frCountResume, pc + 1, pos, in.x, c + 1);
                    pc = in.y;
                }
                break;
            }
            case opDepthFail:
                stack.clear();
                e.Raise(TRegEngine::reLoopStackExceeded);
            case opMatch:
                end = pos;
                stack.clear();
                return true;
            default:
                e.Raise(TRegEngine::reCorruptedProgram);
        }
        if (!ok && !Backtrack(pc, pos)) return false;
    }
}

void TRegEngine::EnsureCompiled() {
    if (!program_) Compile();
}

bool TRegEngine::RunOn(std::string_view text) {
    EnsureCompiled();
    size_t n = text.size();
    // An empty line's view may have no data pointer at all: memchr must not see it.
    if (const void* nul = n ? std::memchr(text.data(), 0, n) : nullptr)
        n = static_cast<size_t>(static_cast<const char*>(nul) - text.data());
    input_.assign(text.data(), n);
    hasInput_ = true;
    matcher_->NewInput(*program_, reinterpret_cast<const unsigned char*>(input_.data()),
                       static_cast<int>(input_.size()));
    return SearchFrom(0);
}

bool TRegEngine::RunFrom(int offset) {
    if (offset < 1) Raise(reOffsetMustBePositive);
    if (!hasInput_) Raise(reNoInputString);
    if (!program_) {
        EnsureCompiled();
        matcher_->NewInput(*program_, reinterpret_cast<const unsigned char*>(input_.data()),
                           static_cast<int>(input_.size()));
    }
    return SearchFrom(offset - 1);
}

bool TRegEngine::RunNext() {
    if (!lastSucceeded_) Raise(reNextWithoutRun);
    int from = groups_[1];
    if (groups_[1] == groups_[0]) ++from;
    if (!program_) {
        EnsureCompiled();
        matcher_->NewInput(*program_, reinterpret_cast<const unsigned char*>(input_.data()),
                           static_cast<int>(input_.size()));
    }
    return SearchFrom(from);
}

bool TRegEngine::SearchFrom(int from) {
    const Program& p = *program_;
    Matcher& m = *matcher_;
    const int len = static_cast<int>(input_.size());
    const unsigned char* s = reinterpret_cast<const unsigned char*>(input_.data());
    lastSucceeded_ = false;
    groups_.fill(-1);
    if (from > len) return false;

    if (!p.required.empty()) {
        if (m.requiredAt == -1) return false;
        if (m.requiredAt < from) {
            const void* hit = memmem(s + from, static_cast<size_t>(len - from), p.required.data(), p.required.size());
            m.requiredAt = hit ? static_cast<int>(static_cast<const unsigned char*>(hit) - s) : -1;
            if (m.requiredAt < 0) return false;
        }
    }

    // Without the failure memory a search may take exponential time: it runs on a
    // step budget. With it the work is bounded by the line's length times the
    // program's size, which the larger budget still caps for very long lines.
    long long perByte = m.memoOn && p.allPure ? kBudgetPerByteMemo : kBudgetPerByte;
    m.budget = kBaseBudget + perByte * static_cast<long long>(len - from + 1);

    int end = 0;
    auto attempt = [&](int at) {
        m.PrepareMemo();
        if (!m.Run(*this, at, end)) return false;
        groups_[0] = at;
        groups_[1] = end;
        for (int g = 1; g <= p.groupCount; ++g) {
            int gs = m.caps[static_cast<size_t>(2 * g)], ge = m.caps[static_cast<size_t>(2 * g + 1)];
            if (gs >= 0 && ge >= 0) {
                groups_[static_cast<size_t>(2 * g)] = gs;
                groups_[static_cast<size_t>(2 * g + 1)] = ge;
            }
        }
        lastSucceeded_ = true;
        return true;
    };

    // Matches cannot start where fewer bytes than the shortest match remain.
    const long long lastStart = static_cast<long long>(len) - p.minLength;
    if (lastStart < from) return false;
    if (p.anchored) return attempt(from);
    for (int at = from; at <= lastStart; ++at) {
        if (p.useFirst) {
            if (p.firstSingle >= 0) {
                const void* hit = std::memchr(s + at, p.firstSingle, static_cast<size_t>(len - at));
                if (!hit) return false;
                at = static_cast<int>(static_cast<const unsigned char*>(hit) - s);
            } else {
                while (at < len && !p.first[s[at]]) ++at;
                if (at >= len) return false;
            }
            if (at > lastStart) return false;
        }
        if (attempt(at)) return true;
    }
    return false;
}

}  // namespace pelm
