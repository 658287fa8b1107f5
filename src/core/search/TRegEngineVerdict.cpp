// The verdict table: a second way to find a match, for programs without back
// references and counters, used when backtracking would need a stack as deep as
// the line (a group repeated over a megabyte, as (a|aa)+b on a long run of a).
//
// In such a program whether a state (instruction, position) leads to a match
// depends on the position alone. The table holds that answer for every state,
// filled from the end of the line back to the search start: an instruction's
// answer depends on the answers of its successors at later positions, or at the
// same position for the instructions that consume nothing, which are filled in
// an order that puts their successors first. The match itself is then a walk
// from the start that at every choice takes the first branch the table says
// succeeds: exactly the path backtracking would have found, with no stack. Both
// the table (one step per state) and the walk spend the step budget.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/search/TRegEngine.h"
#include "core/search/TRegEngineImpl.h"

namespace pelm {

using namespace regengine;

namespace {

// The table may not take more than this many bits, nor the repeat tables more ints.
constexpr size_t kMaxVerdictBits = size_t(256) << 20;
constexpr size_t kMaxRepInts = size_t(8) << 20;

}  // namespace

namespace regengine {

size_t& VerdictDepth() {
    // A program the verdict table can answer switches to it at this depth.
    static size_t depth = size_t(1) << 16;
    return depth;
}

void PrepareVerdict(TRegEngine::Program& prog) {
    prog.verdictOrder.clear();
    prog.repAfter.assign(prog.code.size() + 1, -1);
    prog.repTables = 0;
    if (!prog.allPure) return;
    const int n = static_cast<int>(prog.code.size());
    // Successors at the same position.
    auto sameAt = [&](int pc, int* out) {
        const Inst& in = prog.code[static_cast<size_t>(pc)];
        switch (in.op) {
            case opSplit: out[0] = in.x; out[1] = in.y; return 2;
            case opJmp: out[0] = in.x; return 1;
            case opBol: case opBolM: case opEol: case opEolM: case opWordB: case opNWordB: case opSave:
                out[0] = pc + 1;
                return 1;
            case opRep: out[0] = pc + 1; return in.min == 0 ? 1 : 0;
            default: return 0;
        }
    };
    for (const Inst& in : prog.code)
        if (in.op == opBackref || in.op == opCntInit || in.op == opCntLoop || in.op == opDepthFail) return;
    // Depth-first, successors first; a cycle of instructions that consume nothing
    // makes the table unusable.
    std::vector<uint8_t> color(static_cast<size_t>(n), 0);
    std::vector<int> order;
    std::vector<std::pair<int, int>> st;
    for (int root = 0; root < n; ++root) {
        if (color[static_cast<size_t>(root)]) continue;
        st.push_back({root, 0});
        color[static_cast<size_t>(root)] = 1;
        while (!st.empty()) {
            auto& [pc, next] = st.back();
            int succ[2];
            int count = sameAt(pc, succ);
            if (next < count) {
                int t = succ[next++];
                if (t >= n) continue;
                if (color[static_cast<size_t>(t)] == 1) return;
                if (color[static_cast<size_t>(t)] == 0) {
                    color[static_cast<size_t>(t)] = 1;
                    st.push_back({t, 0});
                }
                continue;
            }
            color[static_cast<size_t>(pc)] = 2;
            order.push_back(pc);
            st.pop_back();
        }
    }
    for (int pc = 0; pc < n; ++pc)
        if (prog.code[static_cast<size_t>(pc)].op == opRep && prog.repAfter[static_cast<size_t>(pc) + 1] < 0)
            prog.repAfter[static_cast<size_t>(pc) + 1] = prog.repTables++;
    prog.verdictOrder = std::move(order);
}

}  // namespace regengine

bool TRegEngine::Matcher::VerdictFits() const {
    if (prog->verdictOrder.empty()) return false;
    size_t cells = (static_cast<size_t>(len) + 1) * prog->code.size();
    size_t ints = (static_cast<size_t>(len) + 2) * static_cast<size_t>(prog->repTables);
    return cells <= kMaxVerdictBits && ints <= kMaxRepInts;
}

bool TRegEngine::Matcher::Succeeds(int pc, int pos) const {
    size_t bit = static_cast<size_t>(pos) * prog->code.size() + static_cast<size_t>(pc);
    return (verdict[bit >> 6] >> (bit & 63)) & 1;
}

void TRegEngine::Matcher::BuildVerdict(const TRegEngine& e, int from) {
    const Program& p = *prog;
    const size_t width = p.code.size();
    int top;  // the highest position still to fill
    if (verdictFrom < 0) {
        verdict.assign(((static_cast<size_t>(len) + 1) * width + 63) / 64, 0);
        nextOk.assign(static_cast<size_t>(p.repTables), std::vector<int>(static_cast<size_t>(len) + 2, INT_MAX));
        runs.assign(width, 0);
        top = len;
    } else {
        top = verdictFrom - 1;
    }
    auto set = [&](int pc, int pos) {
        size_t bit = static_cast<size_t>(pos) * width + static_cast<size_t>(pc);
        verdict[bit >> 6] |= uint64_t(1) << (bit & 63);
    };
    const Inst* code = p.code.data();
    for (int pos = top; pos >= from; --pos) {
        budget -= static_cast<long long>(width);
        if (budget < 0) {
            // What is filled so far stays valid: the table covers pos + 1 on.
            verdictFrom = pos + 1;
            TooComplex(e);
        }
        for (int pc : p.verdictOrder) {
            const Inst& in = code[pc];
            bool ok = false;
            switch (in.op) {
                case opChar: ok = pos < len && s[pos] == in.c1 && Succeeds(pc + 1, pos + 1); break;
                case opChar2:
                    ok = pos < len && (s[pos] == in.c1 || s[pos] == in.c2) && Succeeds(pc + 1, pos + 1);
                    break;
                case opSet: ok = pos < len && p.sets[static_cast<size_t>(in.x)][s[pos]] && Succeeds(pc + 1, pos + 1); break;
                case opAny: ok = pos < len && Succeeds(pc + 1, pos + 1); break;
                case opAnyNL: ok = pos < len && AnyNL(pos) && Succeeds(pc + 1, pos + 1); break;
                case opStr:
                    ok = pos + in.y <= len &&
                         std::memcmp(s + pos, p.strings.data() + in.x, static_cast<size_t>(in.y)) == 0 &&
                         Succeeds(pc + 1, pos + in.y);
                    break;
                case opBol: ok = pos == 0 && Succeeds(pc + 1, pos); break;
                case opBolM: ok = LineStart(pos) && Succeeds(pc + 1, pos); break;
                case opEol: ok = pos == len && Succeeds(pc + 1, pos); break;
                case opEolM: ok = LineEnd(pos) && Succeeds(pc + 1, pos); break;
                case opWordB: ok = IsWord(pos - 1) != IsWord(pos) && Succeeds(pc + 1, pos); break;
                case opNWordB: ok = IsWord(pos - 1) == IsWord(pos) && Succeeds(pc + 1, pos); break;
                case opSave: ok = Succeeds(pc + 1, pos); break;
                case opSplit: ok = Succeeds(in.x, pos) || Succeeds(in.y, pos); break;
                case opJmp: ok = Succeeds(in.x, pos); break;
                case opRep: {
                    // The atom's run from pos, kept up to date as pos goes down.
                    int& run = runs[static_cast<size_t>(pc)];
                    run = pos < len && CountAtoms(in, pos, 1) == 1 ? run + 1 : 0;
                    int n = in.max >= 0 && in.max < run ? in.max : run;
                    const std::vector<int>& next = nextOk[static_cast<size_t>(p.repAfter[static_cast<size_t>(pc) + 1])];
                    ok = n >= in.min && next[static_cast<size_t>(pos + in.min)] <= pos + n;
                    break;
                }
                case opMatch: ok = true; break;
                default: break;
            }
            if (ok) set(pc, pos);
            int t = p.repAfter[static_cast<size_t>(pc)];
            if (t >= 0) {
                std::vector<int>& next = nextOk[static_cast<size_t>(t)];
                next[static_cast<size_t>(pos)] = ok ? pos : next[static_cast<size_t>(pos) + 1];
            }
        }
    }
    verdictFrom = from;
}

void TRegEngine::Matcher::Walk(const TRegEngine& e, int start, int& end) {
    const Program& p = *prog;
    const Inst* code = p.code.data();
    constexpr int kOpenSlot = 2 * (TRegEngine::kMaxGroup + 1);
    for (int k = 2; k < 2 * (p.groupCount + 1); ++k) caps[static_cast<size_t>(k)] = -1;
    int pc = 0, pos = start;
    for (;;) {
        if (--budget < 0) TooComplex(e);
        const Inst& in = code[pc];
        switch (in.op) {
            case opChar: case opChar2: case opSet: case opAny: case opAnyNL: ++pos; ++pc; break;
            case opStr: pos += in.y; ++pc; break;
            case opBol: case opBolM: case opEol: case opEolM: case opWordB: case opNWordB: ++pc; break;
            case opSave: {
                const int g = in.x >> 1;
                const size_t open = static_cast<size_t>(kOpenSlot + g);
                if (in.x & 1) {
                    caps[static_cast<size_t>(in.x - 1)] = caps[open];
                    caps[static_cast<size_t>(in.x)] = pos;
                } else {
                    caps[open] = pos;
                }
                ++pc;
                break;
            }
            case opSplit: pc = Succeeds(in.x, pos) ? in.x : in.y; break;
            case opJmp: pc = in.x; break;
            case opRep: {
                const std::vector<int>& next = nextOk[static_cast<size_t>(p.repAfter[static_cast<size_t>(pc) + 1])];
                int k;
                if (in.greedy) {
                    int room = len - pos;
                    int n = CountAtoms(in, pos, in.max >= 0 && in.max < room ? in.max : room);
                    budget -= n;
                    for (k = n; k > in.min && !Succeeds(pc + 1, pos + k); --k) --budget;
                } else {
                    k = next[static_cast<size_t>(pos + in.min)] - pos;
                }
                pos += k;
                ++pc;
                break;
            }
            case opMatch: end = pos; return;
            default: e.Raise(TRegEngine::reCorruptedProgram);
        }
    }
}

}  // namespace pelm
