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
// The steps one input may take, over all searches on it (RunOn and the RunNext
// calls after it): about a third of a second of the slowest kind of step. A step
// is one instruction, one byte a repeat looks at, a run of bytes a back
// reference compares, or one cell of the verdict table, so the figure does not
// depend on the machine.
constexpr long long kBudget = 50000000;
// Capture slots: start and end of groups 0..14, then the start of each open group.
constexpr int kOpenSlot = 2 * (TRegEngine::kMaxGroup + 1);
constexpr int kCapSlots = kOpenSlot + TRegEngine::kMaxGroup + 1;

// The length of the common prefix of a and b, at most n; eight bytes at a time.
int SameBytes(const unsigned char* a, const unsigned char* b, int n) {
    int k = 0;
    while (k + 8 <= n) {
        uint64_t x, y;
        std::memcpy(&x, a + k, 8);
        std::memcpy(&y, b + k, 8);
        if (x != y) break;
        k += 8;
    }
    while (k < n && a[k] == b[k]) ++k;
    return k;
}

}  // namespace

long long& regengine::StepBudget() {
    static long long steps = kBudget;
    return steps;
}

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
    budget = StepBudget();
    verdictFrom = -1;
    verdict.clear();
    nextOk.clear();
    stackLimit = kMaxFrames;
    caps.assign(kCapSlots, -1);
    counters.assign(static_cast<size_t>(p.counters), 0);
    iterStart.assign(static_cast<size_t>(p.counters), -1);
    // Repeat states are stamped with the input's generation instead of being
    // cleared for every line.
    if (reps.size() != p.code.size() || ++generation == 0) {
        reps.assign(p.code.size(), RepState{});
        generation = 1;
    }
    size_t bits = static_cast<size_t>(p.joins) * (static_cast<size_t>(n) + 1);
    memoOn = p.joins > 0 && bits <= kMaxMemoBits;
    verdictOn = VerdictFits();
    if (verdictOn) stackLimit = VerdictDepth();
}

void TRegEngine::Matcher::PrepareMemo() {
    if (memoReady) return;
    memoReady = true;
    if (!memoOn) return;
    rowWords = (static_cast<size_t>(len) + 1 + 63) / 64;
    memo.assign(rowWords * static_cast<size_t>(prog->joins), 0);
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
            case frIter: iterStart[static_cast<size_t>(f.a)] = f.b; break;
            case frCountIter: {
                // A lazy loop takes one more iteration: counter and iteration start
                // change until this iteration is given back.
                const size_t id = static_cast<size_t>(f.a);
                Push(frCount, 0, 0, f.a, counters[id]);
                Push(frIter, 0, 0, f.a, iterStart[id]);
                counters[id] = f.b;
                iterStart[id] = f.pos;
                pc = f.pc;
                pos = f.pos;
                return true;
            }
            default: break;
        }
    }
    return false;
}

void TRegEngine::Matcher::TooComplex(const TRegEngine& e) {
    stack.clear();
    e.Raise(TRegEngine::reTooComplex);
}

int TRegEngine::Matcher::Run(const TRegEngine& e, int start, int& end) {
    const Program& p = *prog;
    const Inst* code = p.code.data();
    stack.clear();
    for (int k = 2; k < 2 * (p.groupCount + 1); ++k) caps[static_cast<size_t>(k)] = -1;
    for (int g = 1; g <= p.groupCount; ++g) caps[static_cast<size_t>(kOpenSlot + g)] = -1;
    const size_t limit = stackLimit;
    int pc = 0, pos = start;
    for (;;) {
        const Inst& in = code[pc];
        if (--budget < 0 || stack.size() > limit) [[unlikely]] {
            if (budget >= 0 && verdictOn) {
                stack.clear();
                return kTooDeep;
            }
            TooComplex(e);
        }
        if (in.join >= 0 && memoOn) {
            size_t w = static_cast<size_t>(in.join) * rowWords + (static_cast<size_t>(pos) >> 6);
            uint64_t bit = uint64_t(1) << (pos & 63);
            if (memo[w] & bit) {
                if (!Backtrack(pc, pos)) return kNoMatch;
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
                budget -= in.y >> 4;  // long literals cost their length too
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
                // The comparison is real work: it costs the bytes it looks at, in
                // steps of about the time a step of the matcher takes: one for
                // every 64 bytes compared whole, for every 8 compared ignoring case.
                int k = 0;
                if (in.greedy) {
                    const Fold& f = Folds();
                    for (; k < n; ++k) {
                        unsigned char a = s[bs + k], b = s[pos + k];
                        if (!(a == b || f.lower[a] == f.lower[b] || f.upper[a] == f.upper[b])) break;
                    }
                    budget -= k >> 3;
                } else {
                    k = std::memcmp(s + bs, s + pos, static_cast<size_t>(n)) == 0 ? n : SameBytes(s + bs, s + pos, n);
                    budget -= k >> 6;
                }
                ok = k == n;
                pos += n;
                ++pc;
                break;
            }
            case opCntInit: {
                const size_t id = static_cast<size_t>(in.x);
                Push(frCount, 0, 0, in.x, counters[id]);
                Push(frIter, 0, 0, in.x, iterStart[id]);
                counters[id] = 0;
                iterStart[id] = -1;
                ++pc;
                break;
            }
            case opCntLoop: {
                const size_t id = static_cast<size_t>(in.x);
                int c = counters[id];
                if (in.c1 && c > 0 && pos == iterStart[id]) {
                    // The iteration just ended matched nothing. An optional one is
                    // refused, so the loop cannot spin in place; a required one
                    // stands for all the required iterations left, which would
                    // match nothing in the same way.
                    if (c > in.min) {
                        ok = false;
                        break;
                    }
                    Push(frCount, 0, 0, in.x, c);
                    c = in.min;
                    counters[id] = c;
                }
                if (c < in.min) {
                    Push(frCount, 0, 0, in.x, c);
                    Push(frIter, 0, 0, in.x, iterStart[id]);
                    counters[id] = c + 1;
                    iterStart[id] = pos;
                    ++pc;
                } else if (in.max >= 0 && c >= in.max) {
                    pc = in.y;
                } else if (in.greedy) {
                    Push(frCountResume, in.y, pos, in.x, c);
                    Push(frIter, 0, 0, in.x, iterStart[id]);
                    counters[id] = c + 1;
                    iterStart[id] = pos;
                    ++pc;
                } else {
                    Push(frCountIter, pc + 1, pos, in.x, c + 1);
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
                return kMatch;
            default:
                e.Raise(TRegEngine::reCorruptedProgram);
        }
        if (!ok && !Backtrack(pc, pos)) return kNoMatch;
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
    matcher_->budget = StepBudget();
    // A search may start before the last one: where the required literal was last
    // looked for no longer tells whether it occurs.
    matcher_->requiredAt = -2;
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

    // The search draws on the input's step budget (set by RunOn and RunFrom).
    int end = 0;
    auto attempt = [&](int at) {
        if (m.verdictFrom < 0 || at < m.verdictFrom) {
            m.PrepareMemo();
            int r = m.Run(*this, at, end);
            if (r == Matcher::kNoMatch) return false;
            if (r == Matcher::kTooDeep) m.BuildVerdict(*this, at);
        }
        if (m.verdictFrom >= 0 && at >= m.verdictFrom) {
            if (!m.Succeeds(0, at)) return false;
            m.Walk(*this, at, end);
        }
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
